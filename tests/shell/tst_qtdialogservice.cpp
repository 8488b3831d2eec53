#include "shell/ui/qtdialogservice.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTextBrowser>

// The real dialogs: only what needs no user, the help window.
class tst_QtDialogService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpFileOpensInAWindowOfItsOwn()
    {
        const QString help
            = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bvane.hlp"));
        QVERIFY(QFile::exists(help));
        QtDialogService dialogs;
        QVERIFY(dialogs.openDocument(help));
        QTextBrowser *viewer = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            viewer = w->objectName() == QLatin1String("helpViewer")
                ? qobject_cast<QTextBrowser *>(w)
                : viewer;
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Brisvane Help"));
        QVERIFY(viewer->toPlainText().contains(QStringLiteral("system tray")));
        viewer->close();
    }
};

QTEST_MAIN(tst_QtDialogService)
#include "tst_qtdialogservice.moc"
