#include "settings/settingsstore.h"
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
    void strayTemporaryGoesAndOpenModeIsClosedAtLoad();
    void fullDiskKeepsTheOldFileAndTheNextSaveWritesItAll();
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
        QCOMPARE(QFileInfo(t.settingsPath())
                     .absoluteDir()
                     .entryList({QStringLiteral("Brisvane.ini.*")}, QDir::Files | QDir::Hidden),
            QStringList());
        for (int i = 0; i <= lastSaved; ++i) {
            const QString value = reread.GetSetting(
                QStringLiteral("burst%1").arg(i % 7), QStringLiteral("key%1").arg(i));
            QCOMPARE(value, QStringLiteral("value %1 with = and ; and \"quotes\"").arg(i));
        }
    }
}

void tst_SettingsStore::strayTemporaryGoesAndOpenModeIsClosedAtLoad()
{
    TestContext t;
    t.settings().save(Keys::MailPassword(1), QStringLiteral("secret"));
    const QString folder = QFileInfo(t.settingsPath()).absolutePath();
    const QString stray = t.settingsPath() + QStringLiteral(".aB3xYz");
    const QString other = t.settingsPath() + QStringLiteral(".bak");
    for (const QString &path : {stray, other}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Password1]\n1=sec");
    }
    QVERIFY(::chmod(QFile::encodeName(t.settingsPath()).constData(), 0644) == 0);
    t.reopen();
    QVERIFY(!QFile::exists(stray));
    QVERIFY(QFile::exists(other)); // not one of ours
    struct stat st {
    };
    QCOMPARE(::stat(QFile::encodeName(t.settingsPath()).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, mode_t(0600));
    QCOMPARE(t.settings().get(Keys::MailPassword(1)), QStringLiteral("secret"));
    QVERIFY(QDir(folder).exists());
}

namespace {
// A tmpfs of `size` mounted on a fresh folder for as long as it lives (root only).
class SmallDisk
{
public:
    explicit SmallDisk(const QString &size)
    {
        QProcess mount;
        mount.start(QStringLiteral("mount"),
            {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                QStringLiteral("size=%1,mode=0700").arg(size), QStringLiteral("tmpfs"),
                m_dir.path()});
        m_mounted = mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit
            && mount.exitCode() == 0;
        m_why = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
    }
    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    // Fills the disk with a file, up to `leave` bytes short of full.
    void fill(qint64 leave)
    {
        QFile filler(path(QStringLiteral("filler")));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(1024, 'f');
        while (filler.write(block) == block.size()) { }
        filler.resize(qMax<qint64>(0, filler.size() - leave));
    }
    void clear() { QFile::remove(path(QStringLiteral("filler"))); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
} // namespace

// A real ENOSPC: a save that does not fit keeps the old file whole and says so once; once
// there is room again the next save writes every value, the one that failed among them.
void tst_SettingsStore::fullDiskKeepsTheOldFileAndTheNextSaveWritesItAll()
{
    if (::geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root; the full-disk case is not run");
    SmallDisk disk(QStringLiteral("64k"));
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here: ") + disk.why()));
    const QString path = disk.path(QStringLiteral("Brisvane.ini"));
    SettingsStore store(path);
    store.save(Keys::AccountName(1), QStringLiteral("Work mail"));
    store.save(Keys::MailPassword(1), QStringLiteral("pässword"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray before = written.readAll();
    written.close();

    disk.fill(2048);
    QSignalSpy failed(&store, &SettingsStore::writeFailed);
    const QString big = QString(3000, u'ä'); // 6000 bytes: past the room left
    store.save(Keys::MailProgram, big);
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.first().at(0).toString().contains(path));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), before);
    written.close();
    QCOMPARE(QDir(disk.path(QString()))
                 .entryList({QStringLiteral("Brisvane.ini.*")}, QDir::Files | QDir::Hidden),
        QStringList());
    SettingsStore other(path);
    QVERIFY(other.problem().isEmpty());
    QCOMPARE(other.get(Keys::MailPassword(1)), QStringLiteral("pässword"));
    QCOMPARE(store.get(Keys::MailProgram), big); // kept in memory for this run

    disk.clear();
    store.save(Keys::MailUserName(1), QStringLiteral("ann"));
    QCOMPARE(failed.size(), 1);
    SettingsStore after(path);
    QCOMPARE(after.get(Keys::MailProgram), big);
    QCOMPARE(after.get(Keys::MailUserName(1)), QStringLiteral("ann"));
    QCOMPARE(after.get(Keys::AccountName(1)), QStringLiteral("Work mail"));
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
