#include "shell/apppaths.h"
#include "shell/ui/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTemporaryDir>
#include <QTest>

// Where the program finds its resources, the notice program and its icon: in the build tree
// and in an installed layout.
class tst_AppPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buildTreeHasEverythingNextToTheBinary();
    void installedLayoutUsesSharedAndPrivateFolders();
};

void tst_AppPaths::buildTreeHasEverythingNextToTheBinary()
{
    const AppPaths paths = AppPaths::forApplication();
    const QString bin = QCoreApplication::applicationDirPath();
    QCOMPARE(paths.programDir(), bin);
    QCOMPARE(paths.noticeProgram(), bin + QStringLiteral("/runtime"));
    QVERIFY(QFileInfo(paths.noticeProgram()).isExecutable());
    QVERIFY(QFileInfo::exists(paths.resource(QStringLiteral("notify.wav"))));
    const QIcon icon = Startup::programIcon(paths);
    QCOMPARE(icon.availableSizes().size(), 8);
    QVERIFY(icon.availableSizes().contains(QSize(22, 22)));
}

void tst_AppPaths::installedLayoutUsesSharedAndPrivateFolders()
{
    QTemporaryDir prefix;
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(QStringLiteral("bin")));
    const QString bin = root.filePath(QStringLiteral("bin"));
    // Without share/brisvane it is a build tree.
    QCOMPARE(AppPaths::forBinaryDir(bin, {}).noticeProgram(), bin + QStringLiteral("/runtime"));

    QVERIFY(root.mkpath(QStringLiteral("share/brisvane")));
    const AppPaths paths = AppPaths::forBinaryDir(bin, QStringLiteral("/data"));
    QCOMPARE(paths.programDir(), root.filePath(QStringLiteral("share/brisvane")));
    QCOMPARE(paths.resource(QStringLiteral("bvane.hlp")),
        root.filePath(QStringLiteral("share/brisvane/bvane.hlp")));
    QCOMPARE(paths.noticeProgram(), root.filePath(QStringLiteral("libexec/brisvane/runtime")));
    QCOMPARE(paths.iconThemeDir(), root.filePath(QStringLiteral("share/icons/hicolor")));
    QCOMPARE(paths.userFile(QStringLiteral("mulayout.tb")), QStringLiteral("/data/mulayout.tb"));
}

QTEST_MAIN(tst_AppPaths)
#include "tst_apppaths.moc"
