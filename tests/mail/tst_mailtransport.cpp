// The mail transport module: loaded at the first connection, not at start-up, and a missing
// or broken module is a mail error for that check, never a crash or a hang.

#include "clock/virtualclock.h"
#include "mail/imapmail.h"
#include "mail/mailerror.h"
#include "mail/mailtransport.h"
#include "mailundertest.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class tst_MailTransport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadedAtTheFirstStreamFromNextToTheProgram();
    void missingOrBrokenModuleFailsTheCheckWithItsReason_data();
    void missingOrBrokenModuleFailsTheCheckWithItsReason();

private:
    static bool mapped(const char *name)
    {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
    }
};

// This test, like the program, links no Qt Network: only the module brings it in.
void tst_MailTransport::loadedAtTheFirstStreamFromNextToTheProgram()
{
    const QString path = MailTransport::modulePath();
    QVERIFY2(QFileInfo(path).isAbsolute() && QFile::exists(path), qPrintable(path));
    QVERIFY(!mapped("libQt6Network"));
    QVERIFY(!mapped("bvanemailtls"));

    MailStream::Failure failure;
    const auto stream = MailTransport::newStream(&failure);
    QVERIFY(stream);
    QVERIFY(!stream->isEncrypted());
    QVERIFY(mapped("bvanemailtls"));
    QVERIFY(mapped("libQt6Network"));
    QVERIFY(MailTransport::newStream(&failure)); // resolved once, kept
}

void tst_MailTransport::missingOrBrokenModuleFailsTheCheckWithItsReason_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << QStringLiteral("is missing");
    QTest::newRow("not a library")
        << QByteArrayLiteral("\177ELF but nothing more") << QStringLiteral("Cannot load library");
}

void tst_MailTransport::missingOrBrokenModuleFailsTheCheckWithItsReason()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bvanemailtls.so"));
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    MailTransport::useModule(path);
    const auto restore = qScopeGuard([] { MailTransport::useModule({}); });

    MailStream::Failure failure;
    QVERIFY(!MailTransport::newStream(&failure));
    QCOMPARE(failure.first, int(MailError::NetworkError));
    QVERIFY2(failure.second.startsWith(QLatin1String("The mail transport could not be loaded: "))
            && failure.second.contains(path) && failure.second.contains(reason),
        qPrintable(failure.second));

    // A POP3 check and an IMAP one each end with that error, raised from the event loop.
    MailUnderTest pop;
    QVERIFY(!pop.logOn(QStringLiteral("127.0.0.1:1"), QStringLiteral("ann"), QStringLiteral("pw")));
    QCOMPARE(pop.errors.size(), 1);
    QCOMPARE(pop.lastError(), int(MailError::NetworkError));
    QCOMPARE(pop.lastErrorText(), failure.second);

    VirtualClock clock;
    ImapMail imap(clock);
    QSignalSpy errors(&imap, &ImapMail::Error);
    imap.setHost(QStringLiteral("imap://127.0.0.1:1"));
    imap.setUserName(QStringLiteral("ann"));
    imap.setPassword(QStringLiteral("pw"));
    imap.LogOn();
    QCOMPARE(errors.size(), 0);
    QVERIFY(errors.wait(5000));
    QCOMPARE(errors.first().at(0).toInt(), int(MailError::NetworkError));
    QCOMPARE(errors.first().at(1).toString(), failure.second);

    // The next connection tries again, and finds the module in its place.
    MailTransport::useModule({});
    QVERIFY(MailTransport::newStream(&failure));
}

QTEST_GUILESS_MAIN(tst_MailTransport)
#include "tst_mailtransport.moc"
