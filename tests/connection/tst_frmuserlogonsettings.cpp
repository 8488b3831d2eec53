#include "connection/ui/frmuserlogonsettings.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"

#include <QTest>

class tst_frmUserLogonSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void okStoresExactlyAsTyped()
    {
        TestContext t;
        frmUserLogonSettings dialog(t.settings(), false);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("User Logon Settings"));
        QCOMPARE(widget<QLineEdit>(dialog, "txtPassword")->echoMode(), QLineEdit::Password);
        widget<QLineEdit>(dialog, "txtUserName")->setText(QStringLiteral(" dave "));
        widget<QLineEdit>(dialog, "txtPassword")->setText(QStringLiteral("p=ss;w\"rd "));
        widget<QLineEdit>(dialog, "txtNumber")->setText(QStringLiteral("0w,555 1234"));
        widget<QPushButton>(dialog, "cmdOK")->click();
        t.reopen();
        QCOMPARE(t.settings().get(Keys::UserName), QStringLiteral(" dave "));
        QCOMPARE(t.settings().get(Keys::Password), QStringLiteral("p=ss;w\"rd "));
        QCOMPARE(t.settings().get(Keys::Number), QStringLiteral("0w,555 1234"));
    }

    void okWithEmptyBoxesStoresThreeEmptyStrings()
    {
        TestContext t;
        frmUserLogonSettings dialog(t.settings(), false);
        widget<QPushButton>(dialog, "cmdOK")->click();
        for (const SettingKey &key : {Keys::UserName, Keys::Password, Keys::Number}) {
            QVERIFY(t.settings().contains(key));
            QCOMPARE(t.settings().get(key, QStringLiteral("absent")), QString());
        }
    }

    void cancelStoresNothingAndBoxesLoadFromTheStore()
    {
        TestContext t;
        t.settings().save(Keys::UserName, QStringLiteral("kim"));
        frmUserLogonSettings dialog(t.settings(), false);
        QCOMPARE(widget<QLineEdit>(dialog, "txtUserName")->text(), QStringLiteral("kim"));
        widget<QLineEdit>(dialog, "txtUserName")->setText(QStringLiteral("changed"));
        widget<QPushButton>(dialog, "cmdCancel")->click();
        QCOMPARE(t.settings().get(Keys::UserName), QStringLiteral("kim"));
        QVERIFY(!t.settings().contains(Keys::Number));
    }

    void tabOrderRunsThroughTheBoxesThenTheButtons()
    {
        TestContext t;
        frmUserLogonSettings dialog(t.settings(), false);
        auto nextTabStop = [](QWidget *w) {
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus));
            return w;
        };
        QCOMPARE(nextTabStop(widget<QLineEdit>(dialog, "txtUserName")),
            widget<QLineEdit>(dialog, "txtPassword"));
        QCOMPARE(nextTabStop(widget<QLineEdit>(dialog, "txtPassword")),
            widget<QLineEdit>(dialog, "txtNumber"));
        QCOMPARE(nextTabStop(widget<QLineEdit>(dialog, "txtNumber")),
            widget<QPushButton>(dialog, "cmdOK"));
        QCOMPARE(nextTabStop(widget<QPushButton>(dialog, "cmdOK")),
            widget<QPushButton>(dialog, "cmdCancel"));
    }
};

QTEST_MAIN(tst_frmUserLogonSettings)
#include "tst_frmuserlogonsettings.moc"
