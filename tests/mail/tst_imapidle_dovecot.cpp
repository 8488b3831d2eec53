// The IDLE watch against Dovecot's IMAP: a delivery noticed at once, the IDLE renewed on the
// clock, and an account that cannot be watched reported.

#include "clock/virtualclock.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/imapidle.h"
#include "mail/mailerror.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace CraftedMessages;

class tst_ImapIdleDovecot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void deliveryIsNoticedWithinTwoSecondsAndIdleIsRenewed();
    void refusedLogOnStopsTheWatch();

private:
    std::unique_ptr<DovecotServer> dovecot;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<ImapIdle> idle;
    std::unique_ptr<QSignalSpy> newMail, idling, stopped;
};

void tst_ImapIdleDovecot::initTestCase()
{
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    dovecot = std::make_unique<DovecotServer>(DovecotServer::Options{true, false, true, {}});
    dovecot->addUser(QStringLiteral("gil"), QStringLiteral("watch word"));
    dovecot->deliver(QStringLiteral("gil"), message("already there"));
    QString why;
    QVERIFY2(dovecot->start(&why), qPrintable(why));
}

void tst_ImapIdleDovecot::init()
{
    clock = std::make_unique<VirtualClock>();
    idle = std::make_unique<ImapIdle>(*clock);
    idle->setCaCertificates(dovecot->certificatePath());
    newMail = std::make_unique<QSignalSpy>(idle.get(), &ImapIdle::newMail);
    idling = std::make_unique<QSignalSpy>(idle.get(), &ImapIdle::idling);
    stopped = std::make_unique<QSignalSpy>(idle.get(), &ImapIdle::stopped);
}

void tst_ImapIdleDovecot::cleanup()
{
    if (QTest::currentTestFailed() && dovecot)
        qInfo().noquote() << "dovecot log:\n" << dovecot->log();
    newMail.reset();
    idling.reset();
    stopped.reset();
    idle.reset();
    clock.reset();
}

void tst_ImapIdleDovecot::deliveryIsNoticedWithinTwoSecondsAndIdleIsRenewed()
{
    idle->setAccount({QStringLiteral("imap://127.0.0.1:%1").arg(dovecot->imapPort()),
        QStringLiteral("gil"), QStringLiteral("watch word")});
    idle->start();
    QTRY_COMPARE_WITH_TIMEOUT(idling->size(), 1, 20000);
    QCOMPARE(newMail->size(), 0); // the message already there is no news

    QElapsedTimer noticed;
    noticed.start();
    dovecot->deliver(QStringLiteral("gil"), message("new while idle"));
    QTRY_COMPARE_WITH_TIMEOUT(newMail->size(), 1, 2000);
    qInfo("delivery noticed after %lld ms", noticed.elapsed());

    // Long past any time-out, IDLE holds; at 25 minutes it is issued again.
    clock->advance(ImapIdle::kRenewMs - 1000);
    QTest::qWait(50);
    QCOMPARE(stopped->size(), 0);
    QCOMPARE(idling->size(), 1);
    clock->advance(1000);
    QTRY_COMPARE_WITH_TIMEOUT(idling->size(), 2, 10000);
    dovecot->deliver(QStringLiteral("gil"), message("after renewal"));
    QTRY_COMPARE_WITH_TIMEOUT(newMail->size(), 2, 2000);
    QCOMPARE(stopped->size(), 0);
    idle->stop();
    QVERIFY(!idle->isRunning());
}

void tst_ImapIdleDovecot::refusedLogOnStopsTheWatch()
{
    idle->setAccount({QStringLiteral("imaps://localhost:%1").arg(dovecot->imapsPort()),
        QStringLiteral("gil"), QStringLiteral("wrong")});
    idle->start();
    QTRY_COMPARE_WITH_TIMEOUT(stopped->size(), 1, 20000);
    QCOMPARE(stopped->first().at(0).toInt(), int(MailError::LogOnRefused));
    QVERIFY(!idle->isRunning());
}

QTEST_GUILESS_MAIN(tst_ImapIdleDovecot)
#include "tst_imapidle_dovecot.moc"
