// The program and servers off this machine without TLS (made by clear_text_netns.sh).

#include "mail/mailerror.h"
#include "mail/ui/slotmailcontrol.h"
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
    void init()
    {
        if (qEnvironmentVariableIsEmpty("BVANE_CLEARTEXT_SERVER"))
            QSKIP("runs inside clear_text_netns.sh");
    }
    void askedOnceDeclinedThenAllowedLogsOnButNotWithTlsStrippedAfterTls();

private:
    // Slot 1 logs on to `server`, the question (if it comes) answered with `button`: whether
    // it came, and the Error's number (0 after Done).
    std::pair<bool, int> logOn(const QString &server, const QString &button);

    TestContext t;
    SlotMailControl control{t.context()};
};

std::pair<bool, int> tst_ClearTextProgram::logOn(const QString &server, const QString &button)
{
    t.context().model().setText(Keys::Domain(1), server);
    t.context().model().setText(Keys::MailPassword(1), QStringLiteral("secret"));
    QSignalSpy done(&control, &MailControl::Done);
    QSignalSpy errors(&control, &MailControl::Error);
    control.setHost(server);
    control.setUserName(QStringLiteral("jane"));
    control.setSlot(1);
    control.LogOn();
    bool asked = false;
    const auto ended = [&] {
        if (QWidget *question = QApplication::activeModalWidget(); question && !asked) {
            const QString artifacts = qEnvironmentVariable("BVANE_ARTIFACTS");
            if (!artifacts.isEmpty() && QDir().mkpath(artifacts))
                question->grab().save(artifacts + QStringLiteral("/clear-text-question.png"));
            asked = !ModalAnswerer::answerOpen(button).isEmpty();
        }
        return !done.isEmpty() || !errors.isEmpty();
    };
    if (!QTest::qWaitFor(ended, 20000))
        return {asked, -1};
    if (errors.isEmpty()) // quits before the next log-on, for a clean end
        control.Quit(), done.wait();
    return {asked, errors.isEmpty() ? 0 : errors.at(0).at(0).toInt()};
}

void tst_ClearTextProgram::askedOnceDeclinedThenAllowedLogsOnButNotWithTlsStrippedAfterTls()
{
    const QString server = qEnvironmentVariable("BVANE_CLEARTEXT_SERVER");
    const int refused = MailError::ClearTextRefused;
    // Declined: the check fails with the reason, and the answer is kept for the server.
    QCOMPARE(logOn(server, QStringLiteral("cmdNo")), std::pair(true, refused));
    QCOMPARE(t.context().model().text(Keys::ClearTextDeclined(1)), server);
    QCOMPARE(logOn(server, QStringLiteral("cmdYes")), std::pair(false, refused));
    // Another server text is asked again; allowed, it logs on now and from then on unasked.
    const QString spelled = QStringLiteral("pop3://") + server;
    QCOMPARE(logOn(spelled, QStringLiteral("cmdYes")), std::pair(true, 0));
    QCOMPARE(logOn(spelled, QStringLiteral("cmdNo")), std::pair(false, 0));
    // TLS was seen at the proxy's address, and the clear allowed: a downgrade all the same.
    const QString stripped = qEnvironmentVariable("BVANE_STRIPPED_SERVER");
    t.context().model().setText(Keys::TlsSeen(1), stripped);
    t.context().model().setText(Keys::ClearTextAllowed(1), stripped);
    QCOMPARE(
        logOn(stripped, QStringLiteral("cmdYes")), std::pair(false, int(MailError::TlsRequired)));
}

QTEST_MAIN(tst_ClearTextProgram)
#include "tst_cleartext_program.moc"
