// The program's side of passwords in the clear, against real servers at an address off this
// machine (clear_text_netns.sh makes them): a Dovecot without TLS and a STLS-stripping proxy
// in front of one with TLS. Skipped when run outside that script.

#include "mail/mailerror.h"
#include "mail/ui/mailcontrol.h"
#include "settings/settingsmodel.h"
#include "support/modalanswerer.h"
#include "support/testcontext.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

class tst_ClearTextProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void askedOnceDeclinedThenAllowedLogsOn();
    void aStrippedServerThatHadTlsIsRefusedUnasked();

private:
    // Logs slot 1 on, answering the question with `button` if it comes; whether it came.
    bool logOn(const QString &button);

    std::unique_ptr<TestContext> t;
    std::unique_ptr<SlotMailControl> control;
    std::unique_ptr<QSignalSpy> done, errors;
};

void tst_ClearTextProgram::init()
{
    if (qEnvironmentVariableIsEmpty("BVANE_CLEARTEXT_SERVER"))
        QSKIP("runs inside clear_text_netns.sh");
    t = std::make_unique<TestContext>();
    SettingsModel &settings = t->context().model();
    settings.setText(Keys::AccountName(1), QStringLiteral("Office"));
    settings.setText(Keys::MailUserName(1), QStringLiteral("jane"));
    settings.setText(Keys::MailPassword(1), QStringLiteral("secret"));
    control = std::make_unique<SlotMailControl>(t->context());
    done = std::make_unique<QSignalSpy>(control.get(), &MailControl::Done);
    errors = std::make_unique<QSignalSpy>(control.get(), &MailControl::Error);
}

void tst_ClearTextProgram::cleanup()
{
    done.reset();
    errors.reset();
    control.reset(); // before the clock it runs on
    t.reset();
}

bool tst_ClearTextProgram::logOn(const QString &button)
{
    const int before = int(done->size() + errors->size());
    const SettingsModel &settings = t->context().model();
    control->setHost(settings.text(Keys::Domain(1)));
    control->setUserName(settings.text(Keys::MailUserName(1)));
    control->setSlot(1);
    control->LogOn();
    bool asked = false;
    const auto answered = [&] {
        if (!asked && QApplication::activeModalWidget()) {
            const QString artifacts = qEnvironmentVariable("BVANE_ARTIFACTS");
            if (!artifacts.isEmpty() && QDir().mkpath(artifacts))
                QApplication::activeModalWidget()->grab().save(
                    artifacts + QStringLiteral("/clear-text-question.png"));
            asked = !ModalAnswerer::answerOpen(button).isEmpty();
        }
        return done->size() + errors->size() > before;
    };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(answered(), 20000); }();
    return asked;
}

void tst_ClearTextProgram::askedOnceDeclinedThenAllowedLogsOn()
{
    SettingsModel &settings = t->context().model();
    const QString server = qEnvironmentVariable("BVANE_CLEARTEXT_SERVER");
    settings.setText(Keys::Domain(1), server);
    // Declined: the check fails with the reason, and the answer is kept.
    QVERIFY(logOn(QStringLiteral("cmdNo")));
    QCOMPARE(errors->last().at(0).toInt(), int(MailError::ClearTextRefused));
    QVERIFY2(errors->last().at(1).toString().contains(u"offers no encryption"),
        qPrintable(errors->last().at(1).toString()));
    QCOMPARE(settings.text(Keys::ClearTextDeclined(1)), server);
    QVERIFY(!logOn(QStringLiteral("cmdYes")));
    QCOMPARE(errors->size(), 2);
    // Another server text asks again; allowed, it logs on now and from then on unasked.
    settings.setText(Keys::Domain(1), QStringLiteral("pop3://") + server);
    QVERIFY(logOn(QStringLiteral("cmdYes")));
    QCOMPARE(done->size(), 1);
    QCOMPARE(control->MessageCount(), 1);
    control->Quit();
    QTRY_COMPARE(done->size(), 2);
    QVERIFY(!logOn(QStringLiteral("cmdNo")));
    QCOMPARE(done->size(), 3);
    QCOMPARE(settings.text(Keys::TlsSeen(1)), QString());
    control->Quit();
    QTRY_COMPARE(done->size(), 4); // a session still quitting would outlive the clock
}

void tst_ClearTextProgram::aStrippedServerThatHadTlsIsRefusedUnasked()
{
    SettingsModel &settings = t->context().model();
    const QString server = qEnvironmentVariable("BVANE_STRIPPED_SERVER");
    settings.setText(Keys::Domain(1), server);
    settings.setText(Keys::TlsSeen(1), server);
    settings.setText(Keys::ClearTextAllowed(1), server);
    QVERIFY(!logOn(QStringLiteral("cmdYes")));
    QCOMPARE(errors->last().at(0).toInt(), int(MailError::TlsRequired));
    QCOMPARE(done->size(), 0);
}

QTEST_MAIN(tst_ClearTextProgram)
#include "tst_cleartext_program.moc"
