#include "shell/xdgautostart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The autostart entry: where it goes, what it runs, and that desktops can read it.
class tst_XdgAutostart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void execQuotesReservedCharacters_data();
    void execQuotesReservedCharacters();
    void entryForAnAwkwardPathIsValid();
    void stateIsWhetherTheEntryExists();
};

void tst_XdgAutostart::execQuotesReservedCharacters_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/usr/bin/bvane"
                           << "/usr/bin/bvane";
    QTest::newRow("space") << "/opt/My Apps/bvane"
                           << R"("/opt/My Apps/bvane")";
    QTest::newRow("percent") << "/opt/100%/bvane"
                             << "/opt/100%%/bvane";
    // Inside the quotes " and $ get a backslash, and each backslash is doubled for the
    // string value.
    QTest::newRow("quote and dollar") << R"(/opt/a"b$c/bvane)"
                                      << R"("/opt/a\\"b\\$c/bvane")";
    QTest::newRow("backslash") << R"(/opt/a\b/bvane)"
                               << R"("/opt/a\\\\b/bvane")";
}

void tst_XdgAutostart::execQuotesReservedCharacters()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(XdgAutostart::execArgument(program), exec);
}

void tst_XdgAutostart::entryForAnAwkwardPathIsValid()
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.filePath(QStringLiteral("new/autostart")),
        QStringLiteral("/home/jo/My \"Programs\"/100% $HOME/bvane"));
    QString error;
    QVERIFY(autostart.setEnabled(true, error));
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(QStringLiteral("desktop-file-validate"), {autostart.entryPath()});
    QVERIFY(validate.waitForFinished());
    QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
}

void tst_XdgAutostart::stateIsWhetherTheEntryExists()
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.path(), QStringLiteral("/usr/bin/bvane"));
    QVERIFY(!autostart.isEnabled());
    QString error;
    QVERIFY(autostart.setEnabled(false, error)); // nothing to remove is no failure
    QFile other(dir.filePath(QStringLiteral("bvane.desktop")));
    QVERIFY(other.open(QIODevice::WriteOnly)); // written by someone else, even empty
    other.close();
    QVERIFY(autostart.isEnabled());
    QVERIFY(autostart.setEnabled(true, error));
    QCOMPARE(QFile(autostart.entryPath()).size(), autostart.entry().size());
    QVERIFY(autostart.setEnabled(false, error));
    QVERIFY(!autostart.isEnabled());
    QVERIFY(error.isEmpty());
}

QTEST_GUILESS_MAIN(tst_XdgAutostart)
#include "tst_xdgautostart.moc"
