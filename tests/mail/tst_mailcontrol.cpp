#include "clock/virtualclock.h"
#include "mail/mailerror.h"
#include "mail/ui/slotmailcontrol.h"
#include "scriptedpopserver.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

// The program's mail control as the check windows see it, over a real socket to the scripted
// server (so the clock does not move by itself).
class tst_MailControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        clock = std::make_unique<VirtualClock>();
        server = std::make_unique<ScriptedPopServer>();
        server->setMessages({scriptedMessage("Ann <ann@example.org>", "first"),
            scriptedMessage("Bea <bea@example.org>", "second")});
        control = std::make_unique<SlotMailControl>(*clock);
        control->setHost(server->host());
        control->setUserName(QStringLiteral("ann"));
        control->setPassword(QStringLiteral("hunter2pass"));
    }
    void cleanup()
    {
        control.reset();
        server.reset();
        clock.reset();
    }

    void headersComeThroughTheControl()
    {
        QVERIFY(answered([this] { control->LogOn(); }));
        QCOMPARE(control->MessageCount(), qint16(2));
        control->setMessageNumber(2);
        QVERIFY(answered([this] { control->RetrieveHeader(); }));
        QCOMPARE(control->Subject(), QStringLiteral("second"));
        QCOMPARE(control->From(), QStringLiteral("Bea <bea@example.org>"));
    }

    // A window that closes right after its Quit must not take the connection down before
    // the server has seen the QUIT: only then are the deletions made.
    void disposingWaitsForTheQuitToReachTheServer()
    {
        QVERIFY(answered([this] { control->LogOn(); }));
        control->setMessageNumber(1);
        control->DeleteMessage();
        // The Quit waits behind a header request still on its way.
        control->setMessageNumber(2);
        control->RetrieveHeader();
        control->Quit();
        QVERIFY(control->isQuitting());
        QPointer<MailControl> kept = control.get();
        MailControl::dispose(std::move(control));
        QTRY_VERIFY_WITH_TIMEOUT(server->received("QUIT"), 10000);
        QVERIFY(server->received("DELE 1"));
        QTRY_VERIFY_WITH_TIMEOUT(!kept, 10000);
    }

    void disposingWithoutASessionDeletesAtOnce()
    {
        control->Quit();
        QVERIFY(!control->isQuitting());
        QPointer<MailControl> gone = control.get();
        MailControl::dispose(std::move(control));
        QVERIFY(!gone);
    }

    // The program's control for a slot speaks IMAP to an imap:// or imaps:// address and
    // POP3 to anything else, switching at each LogOn, and is disposed of like the others.
    void slotControlPicksTheProtocolByTheServerText()
    {
        auto slot = std::make_unique<SlotMailControl>(*clock);
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        const quint16 nobody = closed.serverPort();
        closed.close();
        control = std::move(slot);
        auto *slotControl = static_cast<SlotMailControl *>(control.get());
        for (const QString &host : {QStringLiteral("imap://127.0.0.1:%1").arg(nobody),
                 QStringLiteral("IMAPS://127.0.0.1:%1").arg(nobody)}) {
            control->setHost(host);
            QSignalSpy errors(control.get(), &MailControl::Error);
            control->LogOn();
            QTRY_COMPARE_WITH_TIMEOUT(errors.size(), 1, 10000);
            QVERIFY(slotControl->usesImap());
            QCOMPARE(errors.first().at(0).toInt(), int(MailError::ConnectionRefused));
        }
        control->setHost(server->host());
        control->setUserName(QStringLiteral("ann"));
        control->setPassword(QStringLiteral("hunter2pass"));
        QVERIFY(answered([this] { control->LogOn(); }));
        QVERIFY(!slotControl->usesImap());
        QCOMPARE(control->MessageCount(), qint16(2));
        control->Quit();
        QVERIFY(control->isQuitting());
        QPointer<MailControl> kept = control.get();
        MailControl::dispose(std::move(control));
        QTRY_VERIFY_WITH_TIMEOUT(server->received("QUIT"), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!kept, 10000);
    }

private:
    bool answered(const std::function<void()> &action)
    {
        QSignalSpy done(control.get(), &MailControl::Done);
        QSignalSpy errors(control.get(), &MailControl::Error);
        action();
        return QTest::qWaitFor([&] { return !done.isEmpty() || !errors.isEmpty(); }, 10000)
            && errors.isEmpty();
    }

    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<ScriptedPopServer> server;
    std::unique_ptr<MailControl> control;
};

QTEST_MAIN(tst_MailControl)
#include "tst_mailcontrol.moc"
