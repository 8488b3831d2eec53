#include "shell/apppaths.h"
#include "shell/ui/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPixmap>
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
    void programIconReadsEachPictureWhenAsked();
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
// The program lives in the tray: its icon holds no picture and opens a file only when a window
// asks for one, the nearest size at least as large, scaled down to fit.
void tst_AppPaths::programIconReadsEachPictureWhenAsked()
{
    QTemporaryDir bin;
    const QDir theme(bin.filePath(QStringLiteral("icons/hicolor")));
    const auto write = [&](int size, Qt::GlobalColor colour) {
        QVERIFY(theme.mkpath(QStringLiteral("%1x%1/apps").arg(size)));
        QImage picture(size, size, QImage::Format_ARGB32);
        picture.fill(colour);
        QVERIFY(picture.save(theme.filePath(QStringLiteral("%1x%1/apps/bvane.png").arg(size))));
    };
    write(16, Qt::red);
    write(32, Qt::blue);
    const QIcon icon = Startup::programIcon(AppPaths::forBinaryDir(bin.path(), {}));
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
    QCOMPARE(icon.actualSize(QSize(64, 64)), QSize(32, 32));
    QCOMPARE(icon.actualSize(QSize(20, 20)), QSize(20, 20));
    const QImage scaled = icon.pixmap(20, 20).toImage();
    QCOMPARE(scaled.size(), QSize(20, 20));
    QCOMPARE(scaled.pixelColor(10, 10), QColor(Qt::blue));
    QCOMPARE(icon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    write(16, Qt::green); // a picture changed on disk shows at the next request
    QCOMPARE(icon.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::green));
    QVERIFY(!icon.pixmap(QSize(16, 16), QIcon::Disabled).isNull());
}

#include "tst_apppaths.moc"
