#include "alerts/alertcontrols.h"
#include "alerts/frmalert.h"
#include "support/testcontext.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>

namespace {

// Stand-ins for the Customize dialog's alert boxes and buttons.
struct AlertWidgets {
    QWidget dialog;
    QCheckBox *boxes[4];
    QPushButton *buttons[4];
    AlertControls::Widgets widgets;

    AlertWidgets()
    {
        for (int i = 0; i < 4; ++i) {
            boxes[i] = new QCheckBox(&dialog);
            buttons[i] = new QPushButton(QStringLiteral("Browse"), &dialog);
        }
        widgets = {
            boxes[0], boxes[1], boxes[2], boxes[3], buttons[0], buttons[1], buttons[2], buttons[3]};
    }
    QCheckBox *box(AlertKind kind) { return boxes[int(kind)]; }
    QPushButton *button(AlertKind kind) { return buttons[int(kind)]; }
};

} // namespace

class tst_AlertControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aBoxStoresItsValueAndEnablesItsBrowseButton()
    {
        TestContext t;
        AlertWidgets w;
        w.box(AlertKind::MailArrive)->setChecked(true);
        AlertControls controls(t.context(), w.widgets);
        for (AlertKind kind : SoundAlerts::allKinds) {
            // Each button starts as its box: off while unticked, though no click came yet.
            QCOMPARE(w.button(kind)->isEnabled(), kind == AlertKind::MailArrive);
            w.box(kind)->setChecked(false);
            const SettingKey &key = SoundAlerts::keys(kind).enabled;
            w.box(kind)->click();
            QCOMPARE(t.settings().get(key), QStringLiteral("1"));
            QVERIFY(w.button(kind)->isEnabled());
            w.box(kind)->setChecked(false); // as a load of the stored value does
            QCOMPARE(t.settings().get(key), QStringLiteral("0"));
            QVERIFY(!w.button(kind)->isEnabled());
        }
        // Each box touched its own key only once per change.
        QCOMPARE(t.settings().get(Keys::AlertConnected), QStringLiteral("0"));
    }

    void clearingABoxKeepsItsSound()
    {
        TestContext t;
        t.settings().save(Keys::AlertDisconnectedSound, QStringLiteral("/s/bye.wav"));
        AlertWidgets w;
        AlertControls controls(t.context(), w.widgets);
        w.box(AlertKind::Disconnected)->setChecked(true);
        w.box(AlertKind::Disconnected)->setChecked(false);
        w.box(AlertKind::Disconnected)->setChecked(true);
        QCOMPARE(t.settings().get(Keys::AlertDisconnectedSound), QStringLiteral("/s/bye.wav"));
    }

    void browseMarksTheKindAndShowsOneSoundAlertsWindow()
    {
        TestContext t;
        AlertWidgets w;
        AlertControls controls(t.context(), w.widgets);
        QVERIFY(!controls.alertWindow());
        w.box(AlertKind::MailArrive)->click(); // its Browse button is off until then
        w.button(AlertKind::MailArrive)->click();
        QCOMPARE(t.settings().get(Keys::AlertMailArriveSelected), QStringLiteral("Yes"));
        frmAlert *first = controls.alertWindow();
        QVERIFY(first && first->isVisible());
        controls.cmdAlertConnected_Click();
        QCOMPARE(controls.alertWindow(), first);
        QCOMPARE(t.settings().get(Keys::AlertConnectedSelected), QStringLiteral("Yes"));
    }

    // A kind left marked by Cancel gets the file chosen later from another kind's window.
    void aMarkLeftByCancelTakesTheNextFileToo()
    {
        TestContext t;
        AlertWidgets w;
        AlertControls controls(t.context(), w.widgets);
        controls.cmdAlertConnected_Click();
        controls.alertWindow()->cmdCancel_Click();
        QTRY_VERIFY(!controls.alertWindow());

        controls.cmdAlertMailArrive_Click();
        t.dialogs().chooseFileNext(QStringLiteral("/s/chime.wav"));
        controls.alertWindow()->cmdBrowse_Click();
        QCOMPARE(controls.alertWindow()->alertText(), QStringLiteral("/s/chime.wav"));
        controls.alertWindow()->cmdOK_Click();
        QTRY_VERIFY(!controls.alertWindow());

        QCOMPARE(t.settings().get(Keys::AlertConnectedSound), QStringLiteral("/s/chime.wav"));
        QCOMPARE(t.settings().get(Keys::AlertMailArriveSound), QStringLiteral("/s/chime.wav"));
        QVERIFY(!t.settings().contains(Keys::AlertDisconnectedSound));
        QVERIFY(!t.settings().contains(Keys::AlertMailNoArriveSound));
        for (AlertKind kind : SoundAlerts::allKinds)
            QCOMPARE(t.settings().get(SoundAlerts::keys(kind).selected), QStringLiteral("No"));

        // With the marks cleared by OK, the next window chooses for its own kind alone.
        controls.cmdAlertDisconnected_Click();
        t.dialogs().chooseFileNext(QStringLiteral("/s/gone.wav"));
        controls.alertWindow()->cmdBrowse_Click();
        QCOMPARE(t.settings().get(Keys::AlertConnectedSound), QStringLiteral("/s/chime.wav"));
        QCOMPARE(t.settings().get(Keys::AlertDisconnectedSound), QStringLiteral("/s/gone.wav"));
    }

    void theWindowGoesWithTheDialog()
    {
        TestContext t;
        auto w = std::make_unique<AlertWidgets>();
        AlertControls controls(t.context(), w->widgets);
        controls.cmdAlertConnected_Click();
        QPointer<frmAlert> window = controls.alertWindow();
        QVERIFY(window->isWindow());
        w.reset();
        QVERIFY(window.isNull());
    }
};

QTEST_MAIN(tst_AlertControls)
#include "tst_alertcontrols.moc"
