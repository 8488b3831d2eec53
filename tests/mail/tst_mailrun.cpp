// The mail run without a window: what it asks the server, what it tells, and what it gives
// back, in virtual time through the settings model.

#include "mail/mailrun.h"
#include "scriptedmailcontrol.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/apppaths.h"
#include "support/testcontext.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// The program around a run: every message is news, and what the run tells is recorded.
struct RecordingHost : MailRunHost {
    explicit RecordingHost(TestContext &t)
        : t(t)
    { }
    void clearForStart() override { accountDone = 0; }
    AppContext &context() const override { return t.context(); }
    SettingsModel &settings() const override { return t.context().model(); }
    bool lineConnected() const override { return true; }
    NewMail::AccountNews newsOf(int slot, const MailControl &control) override
    {
        NewMail::AccountNews news;
        news.account = QString::number(slot);
        for (int n = 1; n <= control.MessageCount(); ++n)
            news.fresh.append(n);
        return news;
    }
    void announce(const NewMail::AccountNews &news, int waiting,
        const QList<DesktopNotices::Header> &headers) override
    {
        told << QStringLiteral("%1: %2 waiting, %3 named")
                    .arg(news.account)
                    .arg(waiting)
                    .arg(headers.size());
    }
    void mailRead(const NewMail::AccountNews &, int) override { }
    void serverAlert(const QString &, const QString &) override { }
    void stopCustomizeTimers() override { timersRunning = false; }
    void restartCustomizeTimers() override { timersRunning = true; }
    void setTrayIcon(const QString &fileName) override { icon = fileName; }
    void setTrayTip(const QString &) override { }

    TestContext &t;
    QStringList told;
    bool timersRunning = true;
    QString icon;
};

struct Run {
    Run(TestContext &t, MailRun::Kind kind, bool headers, const QList<QStringList> &boxes)
        : t(t)
        , server(t.clock())
        , host(t)
    {
        SettingsStore &store = t.settings();
        store.save(Keys::MessageHeadersOnly, headers ? QStringLiteral("1") : QStringLiteral("0"));
        store.save(Keys::MailSlotCount, QString::number(boxes.size()));
        store.save(Keys::PauseBetweenAccounts, QStringLiteral("1"));
        // Both alerts on: the arrival one with a wave of its own, the no-mail one the default.
        store.save(Keys::AlertMailArrive, QStringLiteral("1"));
        store.save(Keys::AlertMailArriveSound, t.context().paths().resource("notify.wav"));
        store.save(Keys::AlertMailNoArrive, QStringLiteral("1"));
        for (int slot = 1; slot <= boxes.size(); ++slot) {
            store.save(Keys::Domain(slot), QStringLiteral("pop%1.example.org").arg(slot));
            server.boxes[QStringLiteral("pop%1.example.org").arg(slot)].subjects
                = boxes.at(slot - 1);
        }
        run = std::make_unique<MailRun>(host, std::make_unique<ScriptedMailControl>(server), kind);
    }
    // Starts the run and waits for its starter's part.
    void start()
    {
        run->prepare();
        auto task = run->start();
        QVERIFY(t.clock().advanceUntil([&task] { return task.isReady(); }, 600000));
    }

    TestContext &t;
    ScriptedMailServer server;
    RecordingHost host;
    std::unique_ptr<MailRun> run;
};

} // namespace

class tst_MailRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void countsDownOnlyAfterAnAccountWithMailThenClosesAndGivesTheTimersBack();
    void headersComeInBatchesAndTheFirstNewOnesAreNamed();
    void theChosenSlotIsCheckedOnlyWhenTheStoredChoiceIsValid();
    void aListingCutShortIsReportedOnceByItsCause();
};

void tst_MailRun::countsDownOnlyAfterAnAccountWithMailThenClosesAndGivesTheTimersBack()
{
    TestContext t;
    Run r(t, MailRun::Kind::Accounts, false, {{}, {QStringLiteral("a")}, {}});
    QSignalSpy countdowns(r.run.get(), &MailRun::countdownStarted);
    QSignalSpy closing(r.run.get(), &MailRun::closeRequested);
    r.start();
    // The starter's part ends at the first countdown, after slot 2; the timers rest.
    QCOMPARE(countdowns.size(), 1);
    QCOMPARE(countdowns.at(0).at(0).toInt(), 2);
    QVERIFY(!r.host.timersRunning);
    QCOMPARE(r.server.linesLike(QStringLiteral("LOGON")).size(), 2);
    // Count-only: a pause of one minute, three seconds of "Processing", then slot 3.
    t.clock().advance(70 * 1000);
    QCOMPARE(r.server.linesLike(QStringLiteral("LOGON")).size(), 3);
    QCOMPARE(countdowns.size(), 1);
    QCOMPARE(closing.size(), 1);
    QVERIFY(r.host.timersRunning);
    QCOMPARE(r.host.told,
        QStringList({QStringLiteral("1: 0 waiting, 0 named"),
            QStringLiteral("2: 1 waiting, 1 named"), QStringLiteral("3: 0 waiting, 0 named")}));
    // Each alert once in the run: slot 3 gives no second no-mail sound.
    QCOMPARE(t.sounds().played().size(), 2);
    QVERIFY(t.sounds().played().at(0).isDefault && !t.sounds().played().at(1).isDefault);
    // The window closes through stop(): the last session gets its one QUIT.
    r.run->stop();
    r.run->stop();
    QCOMPARE(r.server.linesLike(QStringLiteral("QUIT")).size(), 3);
}

void tst_MailRun::headersComeInBatchesAndTheFirstNewOnesAreNamed()
{
    TestContext t;
    QStringList subjects;
    for (int i = 1; i <= 300; ++i)
        subjects << QStringLiteral("Message %1").arg(i);
    Run r(t, MailRun::Kind::Accounts, true, {subjects});
    QSignalSpy batches(r.run.get(), &MailRun::headersRead);
    QSignalSpy listed(r.run.get(), &MailRun::listed);
    r.start();
    QCOMPARE(batches.size(), 2);
    const auto first = batches.at(0).at(0).value<QList<MailHeader>>();
    QCOMPARE(first.size(), 256);
    QCOMPARE(first.at(0).subject, QStringLiteral("Message 1"));
    QVERIFY(first.at(0).fresh);
    QCOMPARE(batches.at(1).at(0).value<QList<MailHeader>>().size(), 44);
    QCOMPARE(listed.size(), 1);
    QCOMPARE(r.host.told, QStringList{QStringLiteral("1: 300 waiting, 3 named")});
    QCOMPARE(t.sounds().played().size(), 1); // for the check, not for each new message
}

void tst_MailRun::theChosenSlotIsCheckedOnlyWhenTheStoredChoiceIsValid()
{
    for (const auto &[chosen, slot] : {std::pair{"2", 2}, {"02", 0}, {"6", 0}, {"", 0}}) {
        TestContext t;
        Run r(t, MailRun::Kind::ChosenSlot, false, {{}, {QStringLiteral("a")}});
        t.settings().save(Keys::MailSlotChosen, QString::fromLatin1(chosen));
        r.start();
        QCOMPARE(r.run->slot(), slot);
        QCOMPARE(r.server.linesLike(QStringLiteral("LOGON")).size(), slot ? 1 : 0);
        // The single-slot check leaves the program's timers alone.
        QVERIFY(r.host.timersRunning);
    }
}

void tst_MailRun::aListingCutShortIsReportedOnceByItsCause()
{
    TestContext t;
    Run r(t, MailRun::Kind::Accounts, true, {QStringList(5, QStringLiteral("a"))});
    r.server.boxes[QStringLiteral("pop1.example.org")].dropAtHeader = 3;
    QSignalSpy failures(r.run.get(), &MailRun::failed);
    QSignalSpy batches(r.run.get(), &MailRun::headersRead);
    r.start();
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.at(0).at(1).toString(), QStringLiteral("connection closed by the server"));
    // The rows read, and the one that failed.
    QCOMPARE(batches.last().at(0).value<QList<MailHeader>>().size(), 3);
}

QTEST_GUILESS_MAIN(tst_MailRun)
#include "tst_mailrun.moc"
