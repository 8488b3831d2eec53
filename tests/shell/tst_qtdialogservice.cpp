#include "clock/virtualclock.h"
#include "shell/ui/qtdialogservice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

namespace {
QCoro::Task<> askInto(DialogService &dialogs, DialogService::Answer *answer)
{
    *answer = co_await dialogs.ask(DialogService::Icon::Warning, QStringLiteral("Brisvane"),
        QStringLiteral("Could not start"), DialogService::Buttons::YesNo);
}
} // namespace

// The real dialogs: the help window, and a box a timed step awaits.
class tst_QtDialogService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void helpFileOpensInAWindowOfItsOwn()
    {
        const QString help
            = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bvane.hlp"));
        QVERIFY(QFile::exists(help));
        VirtualClock clock;
        QtDialogService dialogs(clock);
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

    // The asking step is suspended, not running an event loop, until the box is answered.
    void anAwaitedBoxSuspendsItsStepUntilAnswered()
    {
        VirtualClock clock;
        QtDialogService dialogs(clock);
        DialogService::Answer answer = DialogService::Answer::Ok;
        auto asked = askInto(dialogs, &answer);
        clock.advance(1000);
        QVERIFY(!asked.isReady());
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("Could not start"));
        box->button(QMessageBox::No)->click();
        clock.advance(0);
        QVERIFY(asked.isReady());
        QCOMPARE(answer, DialogService::Answer::No);
    }

    // Told no folder, the file dialog starts at home, not where the program was started.
    void aFileDialogWithoutAFolderStartsAtHome()
    {
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        VirtualClock clock;
        QtDialogService dialogs(clock);
        QString shown;
        QTimer::singleShot(100, this, [&] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                shown = dialog->directory().absolutePath();
                dialog->reject();
            }
        });
        dialogs.openFileName(QStringLiteral("Add Program"), {}, {});
        QCOMPARE(shown, QDir::home().absolutePath());
    }
};

QTEST_MAIN(tst_QtDialogService)
#include "tst_qtdialogservice.moc"
