#include "alerts/frmpreferences.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/autostart.h"
#include "support/fakemenutools.h"
#include "support/readonlyfolder.h"
#include "support/testcontext.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

// The "Start Brisvane when I log in" box of the Preferences dialog, on the real autostart
// entry in a test's own config folder.
class tst_frmPreferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startAtLoginIsOffByDefaultInItsOwnRowAtTheBottom();
    void tickingWritesAValidEntryOnOkAndClearingRemovesIt();
    void quietHoursAreSavedWithOk();
    void readOnlyAutostartFolderGivesTheMessageAndKeepsTheBox_data();
    void readOnlyAutostartFolderGivesTheMessageAndKeepsTheBox();

private:
    static QString entryPath(const TestContext &t)
    {
        return QDir(t.autostartFolder()).filePath(QStringLiteral("bvane.desktop"));
    }
};

void tst_frmPreferences::startAtLoginIsOffByDefaultInItsOwnRowAtTheBottom()
{
    TestContext t;
    FakeMenuTools menu;
    frmPreferences form(t.context(), menu, {});
    QCOMPARE(form.chkStartAtLogin->text(), QStringLiteral("Start Brisvane when I log in"));
    QVERIFY(!form.chkStartAtLogin->isChecked());
    QLayout *layout = form.layout();
    QCOMPARE(layout->indexOf(form.chkStartAtLogin), layout->count() - 1);
    QVERIFY(!QFile::exists(t.autostartFolder()));
}

void tst_frmPreferences::tickingWritesAValidEntryOnOkAndClearingRemovesIt()
{
    TestContext t;
    FakeMenuTools menu;
    {
        // Cancel undoes the box: nothing is written before OK.
        frmPreferences cancelled(t.context(), menu, {});
        cancelled.chkStartAtLogin->click();
        cancelled.cmdCancel->click();
        QVERIFY(!QFile::exists(entryPath(t)));
        frmPreferences form(t.context(), menu, {});
        form.chkStartAtLogin->click();
        QVERIFY(!QFile::exists(entryPath(t)));
        form.cmdOK->click();
    }
    QVERIFY(QFile::exists(entryPath(t)));
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(QStringLiteral("desktop-file-validate"), {entryPath(t)});
    QVERIFY(validate.waitForFinished());
    QVERIFY2(validate.exitCode() == 0, validate.readAll().constData());
    QFile entry(entryPath(t));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(entry.readAll().contains("\nExec=/usr/bin/bvane\n"));

    frmPreferences again(t.context(), menu, {});
    QVERIFY(again.chkStartAtLogin->isChecked());
    again.chkStartAtLogin->click();
    again.cmdOK->click();
    QVERIFY(!QFile::exists(entryPath(t)));
    QVERIFY(t.dialogs().shown().isEmpty());
}

void tst_frmPreferences::quietHoursAreSavedWithOk()
{
    TestContext t;
    FakeMenuTools menu;
    frmPreferences form(t.context(), menu, {});
    QVERIFY(!form.chkQuietHours->isChecked());
    QCOMPARE(form.timQuietFrom->time(), QTime(22, 0));
    form.chkQuietHours->click();
    form.timQuietUntil->setTime(QTime(6, 30));
    form.cmdOK->click();
    QVERIFY(t.context().model().isOn(Keys::QuietHours));
    QCOMPARE(t.settings().get(Keys::QuietUntil), QStringLiteral("06:30"));
}

void tst_frmPreferences::readOnlyAutostartFolderGivesTheMessageAndKeepsTheBox_data()
{
    QTest::addColumn<bool>("entryBefore");
    QTest::newRow("ticking") << false;
    QTest::newRow("clearing") << true;
}

void tst_frmPreferences::readOnlyAutostartFolderGivesTheMessageAndKeepsTheBox()
{
    QFETCH(bool, entryBefore);
    TestContext t;
    QString error;
    QVERIFY(t.context().autostart().setEnabled(true, error));
    if (!entryBefore)
        QVERIFY(t.context().autostart().setEnabled(false, error));
    FakeMenuTools menu;
    frmPreferences form(t.context(), menu, {});
    QCOMPARE(form.chkStartAtLogin->isChecked(), entryBefore);

    ReadOnlyFolder readOnly(t.autostartFolder());
    if (!readOnly.isReadOnly())
        QSKIP(qPrintable(QStringLiteral("cannot make a read-only folder: ") + readOnly.why()));
    form.show();
    form.chkStartAtLogin->click();
    form.cmdOK->click();
    QCOMPARE(form.chkStartAtLogin->isChecked(), entryBefore);
    QVERIFY(form.isVisible()); // left open, showing how things stand
    QCOMPARE(QFile::exists(entryPath(t)), entryBefore);
    QCOMPARE(t.dialogs().count(QStringLiteral("message")), 1);
    const ScriptedDialogs::Shown &shown = t.dialogs().shown().constFirst();
    QCOMPARE(shown.icon, DialogService::Icon::Warning);
    QCOMPARE(shown.title, QStringLiteral("Brisvane"));
    QVERIFY2(shown.text.contains(entryPath(t)), qPrintable(shown.text));
    QVERIFY(shown.text.startsWith(entryBefore
            ? QStringLiteral("Brisvane could not be kept from starting when you log in.")
            : QStringLiteral("Brisvane could not be set to start when you log in.")));
}

int main(int argc, char *argv[])
{
    ReadOnlyFolder::prepareProcess();
    QApplication app(argc, argv);
    tst_frmPreferences test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmpreferences.moc"
