#include "connection/linecontroller.h"
#include "connection/ui/connectiontab.h"
#include "shell/ui/gapcheckbox.h"
#include "support/fakemenutools.h"
#include "support/quiettray.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"

#include <QTest>

namespace {
// The tab on a line controller of its own.
struct Tab {
    explicit Tab(TestContext &t)
        : line(t.context(), tray, menu)
        , tab(t.context(), line)
    { }
    ConnectionTab *operator->() { return &tab; }
    QuietTray tray;
    FakeMenuTools menu;
    LineController line;
    ConnectionTab tab;
};
} // namespace

class tst_ConnectionTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void userLogonChoiceSwapsListAndButton()
    {
        TestContext t;
        Tab tab(t);
        widget<QCheckBox>(tab.tab, "chkUserLogonSettings")->setChecked(true);
        QCOMPARE(t.settings().get(Keys::UserLogonSettings), QStringLiteral("1"));
        QVERIFY(!widget<QComboBox>(tab.tab, "Combo1")->isEnabled());
        QVERIFY(widget<QPushButton>(tab.tab, "cmdUserLogonSettings")->isEnabled());
        widget<QCheckBox>(tab.tab, "chkUserLogonSettings")->setChecked(false);
        QCOMPARE(t.settings().get(Keys::UserLogonSettings), QStringLiteral("0"));
        QVERIFY(widget<QComboBox>(tab.tab, "Combo1")->isEnabled());
        QVERIFY(!widget<QPushButton>(tab.tab, "cmdUserLogonSettings")->isEnabled());
    }

    void defaultConnectionIsStoredEvenWhenEmpty()
    {
        TestContext t;
        Tab tab(t);
        widget<QPushButton>(tab.tab, "cmdDefaultConnection")->click();
        QVERIFY(t.settings().contains(Keys::DefaultConnection));
        QCOMPARE(t.settings().get(Keys::DefaultConnection, QStringLiteral("x")), QString());
        widget<QComboBox>(tab.tab, "Combo1")->addItem(QStringLiteral("Work ISP"));
        widget<QPushButton>(tab.tab, "cmdDefaultConnection")->click();
        QCOMPARE(t.settings().get(Keys::DefaultConnection), QStringLiteral("Work ISP"));
    }

    void theBusyRetryCounterSitsInTheSentencesGap()
    {
        TestContext t;
        Tab tab(t);
        GapCheckBox *box = widget<GapCheckBox>(tab.tab, "chkReconnectLineBusy");
        QCOMPARE(box->text(), QStringLiteral("I&f line is busy, retry   times until connected"));
        QCOMPARE(box->shownPieces(),
            (QStringList{QStringLiteral("I&f line is busy, retry"),
                QStringLiteral("times until connected")}));
        box->resize(box->sizeHint());
        QCOMPARE(widget<QLabel>(tab.tab, "lblReconnectLineBusy")->parentWidget(), box);
        const int counter = widget<QLabel>(tab.tab, "lblReconnectLineBusy")->geometry().left();
        QVERIFY(counter
            > box->fontMetrics().horizontalAdvance(QStringLiteral("If line is busy, retry")));
        QVERIFY(box->sizeHint().width() > widget<UpDown>(tab.tab, "UpDown4")->geometry().right()
                + box->fontMetrics().horizontalAdvance(QStringLiteral("times until connected")));
    }

    void busyRetryCountStaysWithinOneToTen()
    {
        TestContext t;
        Tab tab(t);
        widget<QCheckBox>(tab.tab, "chkReconnectLineBusy")->setChecked(true);
        QVERIFY(widget<UpDown>(tab.tab, "UpDown4")->isEnabled()
            && widget<QLabel>(tab.tab, "lblReconnectLineBusy")->isEnabled());
        for (int i = 0; i < 12; ++i)
            widget<UpDown>(tab.tab, "UpDown4")->stepUp();
        QCOMPARE(widget<QLabel>(tab.tab, "lblReconnectLineBusy")->text(), QStringLiteral("10"));
        QCOMPARE(t.settings().get(Keys::ReconnectLineBusyCount), QStringLiteral("10"));
        widget<QCheckBox>(tab.tab, "chkReconnectLineBusy")->setChecked(false);
        QCOMPARE(t.settings().get(Keys::ReconnectLineBusy), QStringLiteral("0"));
        QVERIFY(!widget<UpDown>(tab.tab, "UpDown4")->isEnabled()
            && !widget<QLabel>(tab.tab, "lblReconnectLineBusy")->isEnabled());
        widget<QCheckBox>(tab.tab, "chkConnectionStartup")->setChecked(true);
        QCOMPARE(t.settings().get(Keys::ConnectiononStartup), QStringLiteral("1"));
    }

    void informationBoxesHaveTheirTitles()
    {
        TestContext t;
        Tab tab(t);
        widget<QPushButton>(tab.tab, "cmdConnectionDetails")->click();
        widget<QPushButton>(tab.tab, "cmdUserDetails")->click();
        QCOMPARE(t.dialogs().shown().size(), 2);
        QCOMPARE(t.dialogs().shown().at(0).title, QStringLiteral("Connection Entries"));
        // The steps of the service in use, not of another system.
        const QString steps = t.dialogs().shown().at(0).text;
        QVERIFY(
            steps.contains(QStringLiteral("steps:\r\n1. This program runs with the simulated")));
        QVERIFY(!steps.contains(QStringLiteral("My Computer")));
        QCOMPARE(t.dialogs().shown().at(1).title, QStringLiteral("User Logon Details"));
        QCOMPARE(t.dialogs().shown().at(1).icon, DialogService::Icon::Information);
    }
};

QTEST_MAIN(tst_ConnectionTab)
#include "tst_connectiontab.moc"
