#include "checkmailfixture.h"
#include "mail/ui/frmmailservererror.h"
#include "shell/menutools.h"
#include "support/modalanswerer.h"
#include "support/widgetbyname.h"

#include <QCheckBox>
#include <QTest>

namespace {
// One account with three messages, checked from the popup menu, pausing with the list shown.
struct Listed : MailProgram {
    Listed(TestContext &t, const QString &confirm)
        : MailProgram(t, 1, true, {{Keys::DeleteMessageConfirmation, confirm}})
    {
        mail(1, {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
        connectLine();
        checkAllAccounts();
    }
    void tick(int row)
    {
        widget<HeadersList>(window(), "listMessages")->rows().setTicked(row, true);
    }
    bool ticked(int row)
    {
        return widget<HeadersList>(window(), "listMessages")->rows().isTicked(row);
    }
    QStringList deletions() const { return server.linesLike(QStringLiteral("DELE")); }
};
} // namespace

class tst_frmCheckMailDelete : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deleteWithoutATickAsksForOneAndTheCountdownGoesOn();
    void answeringNoUnticksEveryRowAndDeletesNothing();
    void theWindowClosingWhileTheQuestionIsOpenDeletesNothing();
    void ticksOneAndThreeDeleteThoseInOneBatch();
    void clearingShowAgainStopsTheQuestion();
    void selectAllThenDeleteMarksEveryRowAndQuitAppliesThem();
    void aRefusedDeletionStillEndsWithAQuit();
};

void tst_frmCheckMailDelete::deleteWithoutATickAsksForOneAndTheCountdownGoesOn()
{
    TestContext t;
    Listed p(t, SettingValues::TrueText);
    const int before = p.window()->run().countdown();
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    QCOMPARE(t.dialogs().count(QStringLiteral("message")), 1);
    QCOMPARE(t.dialogs().shown().last().title, QStringLiteral("Deleting Messages"));
    QCOMPARE(t.dialogs().shown().last().text,
        QStringLiteral("Please select a message(s) by clicking in the appropriate checkbox"));
    p.run(5);
    QCOMPARE(p.window()->run().countdown(), before - 5);
}

void tst_frmCheckMailDelete::answeringNoUnticksEveryRowAndDeletesNothing()
{
    TestContext t;
    Listed p(t, SettingValues::TrueText);
    p.tick(0);
    p.tick(2);
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    QCOMPARE(
        ModalAnswerer::answerOpen(QStringLiteral("cmdNo")), QStringLiteral("Deleting Messages"));
    QVERIFY(p.deletions().isEmpty());
    for (int row = 0; row < 3; ++row)
        QVERIFY(!p.ticked(row));
    QVERIFY(p.window()->run().countingDown());
}

// The question is awaited, not run in a nested event loop: the window (its parent) may go away
// meanwhile, and the question with it.
void tst_frmCheckMailDelete::theWindowClosingWhileTheQuestionIsOpenDeletesNothing()
{
    TestContext t;
    Listed p(t, SettingValues::TrueText);
    p.tick(1);
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    QVERIFY(QApplication::activeModalWidget());
    p.check().unloadCheckWindow();
    // As the program's event loop would: the closed window is destroyed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    p.run(10);
    QVERIFY(!p.window());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(p.deletions().isEmpty());
}

void tst_frmCheckMailDelete::ticksOneAndThreeDeleteThoseInOneBatch()
{
    TestContext t;
    Listed p(t, SettingValues::FalseText);
    p.tick(0);
    p.tick(2);
    const int countdown = p.window()->run().countdown();
    const qint64 pressed = t.clock().tickCount();
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    p.run(0.001);
    QCOMPARE(p.deletions().size(), 2);
    QVERIFY(p.deletions().at(0).endsWith(QStringLiteral("pop1.example.org 1")));
    QVERIFY(p.deletions().at(1).endsWith(QStringLiteral("pop1.example.org 3")));
    QCOMPARE(p.server.when(QStringLiteral("DELE"), 1), pressed);
    QCOMPARE(
        widget<QLabel>(p.window(), "Label4")->text(), QStringLiteral("Messages deleted: 2 of 2"));
    QCOMPARE(p.rows().at(0), QStringLiteral("Message Deleted"));
    QVERIFY(p.rows().at(1).contains(QStringLiteral("two")));
    QCOMPARE(p.rows().at(2), QStringLiteral("Message Deleted"));
    QVERIFY(!p.ticked(0));
    // The countdown was held while deleting.
    QCOMPARE(p.window()->run().countdown(), countdown);
    QVERIFY(widget<QPushButton>(p.window(), "cmdCancel")->isEnabled()
        && widget<QPushButton>(p.window(), "cmdDeleteMessage")->isEnabled());
    // A deleted row has no tick box: Select All and Delete reach only message 2.
    QVERIFY(!(widget<HeadersList>(p.window(), "listMessages")
                  ->rows()
                  .flags(widget<HeadersList>(p.window(), "listMessages")->rows().index(0, 0))
        & Qt::ItemIsUserCheckable));
    widget<QPushButton>(p.window(), "cmdSelectMessage")->click();
    QCOMPARE(QList({p.ticked(0), p.ticked(1), p.ticked(2)}), QList({false, true, false}));
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    p.run(0.001);
    QCOMPARE(p.deletions().size(), 3);
    QVERIFY(p.deletions().at(2).endsWith(QStringLiteral("pop1.example.org 2")));
}

void tst_frmCheckMailDelete::clearingShowAgainStopsTheQuestion()
{
    TestContext t;
    Listed p(t, SettingValues::TrueText);
    p.monitor->menu().setToolChecked(MenuNames::mnuShowDeleteMessageConfirmationDialog, true);
    p.tick(1);
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    QCOMPARE(ModalAnswerer::answerOpen(QStringLiteral("cmdYes"),
                 [](QWidget *w) {
                     w->findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(false);
                 }),
        QStringLiteral("Deleting Messages"));
    p.run(3.5);
    QCOMPARE(p.deletions().size(), 1);
    QCOMPARE(t.settings().get(Keys::DeleteMessageConfirmation), QStringLiteral("False"));
    QCOMPARE(t.settings().get(Keys::DeleteMessageConfirmationDialog), QStringLiteral("0"));
    QVERIFY(!p.monitor->menu().toolChecked(MenuNames::mnuShowDeleteMessageConfirmationDialog));
    p.tick(2);
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    QVERIFY(!QApplication::activeModalWidget()); // not asked the second time
    p.run(3.5);
    QCOMPARE(p.deletions().size(), 2);
}

void tst_frmCheckMailDelete::selectAllThenDeleteMarksEveryRowAndQuitAppliesThem()
{
    TestContext t;
    Listed p(t, SettingValues::FalseText);
    widget<QPushButton>(p.window(), "cmdSelectMessage")->click();
    for (int row = 0; row < 3; ++row)
        QVERIFY(p.ticked(row));
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    p.run(9.5);
    QCOMPARE(p.rows(), QStringList(3, QStringLiteral("Message Deleted")));
    QCOMPARE(p.deletions().size(), 3);
    p.run(60);
    QVERIFY(!p.window());
    // Deletions are made when the server sees the QUIT, after the last DELE.
    const QStringList quits = p.server.linesLike(QStringLiteral("QUIT"));
    QCOMPARE(quits.size(), 1);
    QVERIFY(p.server.log.indexOf(quits.first()) > p.server.log.indexOf(p.deletions().last()));
}

void tst_frmCheckMailDelete::aRefusedDeletionStillEndsWithAQuit()
{
    TestContext t;
    Listed p(t, SettingValues::FalseText);
    p.server.boxes[MailProgram::host(1)].refuseDelete = {1};
    p.tick(0);
    p.tick(1);
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    p.run(6.5);
    QVERIFY(p.check().serverErrorDialog() && p.check().serverErrorDialog()->isVisible());
    QCOMPARE(p.deletions().size(), 2);
    p.run(60);
    QVERIFY(!p.window());
    // Message 2's deletion is made only if the server sees the QUIT.
    QCOMPARE(p.server.linesLike(QStringLiteral("QUIT")).size(), 1);
}

QTEST_MAIN(tst_frmCheckMailDelete)
#include "tst_frmcheckmail_delete.moc"
