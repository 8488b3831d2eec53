#include "shell/settings/settingsstore.h"
#include "support/testcontext.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

class tst_SettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripAcrossRestartWithExactPasswords();
    void sectionAndKeyAreCaseInsensitive();
    void absentKeyGivesTheDefault();
    void fileIsPrivateToTheUser();
    void unchangedValueDoesNotRewriteTheFile();
    void unusableFileIsReportedAndNeverOverwritten_data();
    void unusableFileIsReportedAndNeverOverwritten();
    void killDuringBurstLeavesEverySavedValue();
    void defaultPathFollowsXdgConfigHome();
};

void tst_SettingsStore::roundTripAcrossRestartWithExactPasswords()
{
    TestContext t;
    const QString password = QStringLiteral(" pa$$ w=rd;#\"\\ ");
    t.settings().save(Keys::Password, password);
    t.settings().save(Keys::MailPassword(3), QStringLiteral("ümlaut\tpass"));
    t.settings().save(Keys::Program(10), QString());
    t.reopen();
    QCOMPARE(t.settings().get(Keys::Password), password);
    QCOMPARE(t.settings().get(Keys::MailPassword(3)), QStringLiteral("ümlaut\tpass"));
    QVERIFY(t.settings().contains(Keys::Program(10)));
    QCOMPARE(t.settings().get(Keys::Program(10), QStringLiteral("absent")), QString());
    // Passwords are kept as plain text in the file, as the user typed them.
    QFile file(t.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("[Password3]\n3=\"ümlaut\\tpass\""));
}

void tst_SettingsStore::sectionAndKeyAreCaseInsensitive()
{
    TestContext t;
    t.settings().SaveSetting(
        QStringLiteral("MailSlot"), QStringLiteral("Slot"), QStringLiteral("4"));
    t.settings().SaveSetting(
        QStringLiteral("MAILSLOT"), QStringLiteral("SLOT"), QStringLiteral("5"));
    t.reopen();
    QCOMPARE(t.settings().GetSetting(QStringLiteral("mailslot"), QStringLiteral("slot")),
        QStringLiteral("5"));
    QFile file(t.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[MailSlot]\nSlot=5\n"));
}

void tst_SettingsStore::absentKeyGivesTheDefault()
{
    TestContext t;
    QCOMPARE(
        t.settings().get(Keys::ReconnectLineBusyCount, QStringLiteral("1")), QStringLiteral("1"));
    QCOMPARE(t.settings().get(Keys::DefaultConnection), QString());
    QVERIFY(!QFile::exists(t.settingsPath()));
}

void tst_SettingsStore::fileIsPrivateToTheUser()
{
    TestContext t;
    const mode_t old = ::umask(0);
    t.settings().save(Keys::UserName, QStringLiteral("dave"));
    ::umask(old);
    struct stat st {
    };
    QCOMPARE(::stat(QFile::encodeName(t.settingsPath()).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0600));
    QCOMPARE(
        ::stat(QFile::encodeName(QFileInfo(t.settingsPath()).absolutePath()).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0700));
}

void tst_SettingsStore::unchangedValueDoesNotRewriteTheFile()
{
    TestContext t;
    t.settings().save(Keys::ShowConnect, QStringLiteral("1"));
    const QDateTime written = QFileInfo(t.settingsPath()).lastModified();
    QFile::setPermissions(t.settingsPath(), QFileDevice::ReadOwner);
    QSignalSpy failed(&t.settings(), &SettingsStore::writeFailed);
    QSignalSpy saved(&t.settings(), &SettingsStore::saved);
    t.settings().save(Keys::ShowConnect, QStringLiteral("1"));
    QCOMPARE(saved.size(), 1);
    QCOMPARE(failed.size(), 0);
    QCOMPARE(QFileInfo(t.settingsPath()).lastModified(), written);
}

void tst_SettingsStore::unusableFileIsReportedAndNeverOverwritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("binary junk") << QStringLiteral("junk");
    QTest::newRow("directory") << QStringLiteral("dir");
    if (::geteuid() != 0) // root reads any file
        QTest::newRow("no permission") << QStringLiteral("noperm");
}

void tst_SettingsStore::unusableFileIsReportedAndNeverOverwritten()
{
    QFETCH(QString, kind);
    TestContext t;
    QDir().mkpath(QFileInfo(t.settingsPath()).absolutePath());
    QByteArray original("\x7f"
                        "ELF\x02\x01\x01\0\0\0garbage",
        17);
    if (kind == QLatin1String("dir")) {
        QVERIFY(QDir().mkpath(t.settingsPath()));
    } else {
        QFile f(t.settingsPath());
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == QLatin1String("noperm"))
            original = "[Password]\nPassword=kept\n";
        f.write(original);
        f.close();
        if (kind == QLatin1String("noperm"))
            QFile::setPermissions(t.settingsPath(), {});
    }
    t.reopen();
    QVERIFY(!t.settings().problem().isEmpty());
    QVERIFY(t.settings().problem().contains(t.settingsPath()));
    QVERIFY(!t.settings().writesToDisk());
    // The program goes on with defaults and remembers changes for this run only.
    QCOMPARE(
        t.settings().get(Keys::Password, QStringLiteral("default")), QStringLiteral("default"));
    t.settings().save(Keys::Password, QStringLiteral("new"));
    QCOMPARE(t.settings().get(Keys::Password), QStringLiteral("new"));
    if (kind == QLatin1String("dir")) {
        QVERIFY(QFileInfo(t.settingsPath()).isDir());
    } else {
        QFile::setPermissions(t.settingsPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile f(t.settingsPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), original);
    }
}

// kill -9 at random moments of a burst of writes in a child: every value whose SaveSetting
// returned is in a file that still parses.
void tst_SettingsStore::killDuringBurstLeavesEverySavedValue()
{
    for (int round = 0; round < 4; ++round) {
        TestContext t;
        QProcess writer;
        writer.start(QStringLiteral(SETTINGS_WRITER), {t.settingsPath(), QStringLiteral("100000")});
        QVERIFY(writer.waitForStarted());
        const int killAfter = 20 + round * 37;
        QByteArray out;
        while (out.count('\n') < killAfter && writer.state() == QProcess::Running) {
            writer.waitForReadyRead(5000);
            out += writer.readAllStandardOutput();
        }
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
        out += writer.readAllStandardOutput();
        const QList<QByteArray> lines = out.split('\n');
        int lastSaved = -1;
        for (const QByteArray &line : lines) {
            if (!line.isEmpty())
                lastSaved = line.toInt();
        }
        QVERIFY(lastSaved >= killAfter - 1);

        SettingsStore reread(t.settingsPath());
        QVERIFY2(reread.problem().isEmpty(), qPrintable(reread.problem()));
        for (int i = 0; i <= lastSaved; ++i) {
            const QString value = reread.GetSetting(
                QStringLiteral("burst%1").arg(i % 7), QStringLiteral("key%1").arg(i));
            QCOMPARE(value, QStringLiteral("value %1 with = and ; and \"quotes\"").arg(i));
        }
    }
}

void tst_SettingsStore::defaultPathFollowsXdgConfigHome()
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QCOMPARE(
        SettingsStore::defaultFilePath(), home.path() + QStringLiteral("/Brisvane/Brisvane.ini"));
}

QTEST_GUILESS_MAIN(tst_SettingsStore)
#include "tst_settingsstore.moc"
