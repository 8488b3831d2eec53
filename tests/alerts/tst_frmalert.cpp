#include "alerts/frmalert.h"
#include "alerts/soundalerts.h"
#include "support/testcontext.h"
#include "wavefixture.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QString selected(TestContext &t, AlertKind kind)
{
    return t.settings().get(SoundAlerts::keys(kind).selected);
}

QString sound(TestContext &t, AlertKind kind)
{
    return t.settings().get(SoundAlerts::keys(kind).sound);
}

void mark(TestContext &t, AlertKind kind, const QString &value)
{
    t.settings().save(SoundAlerts::keys(kind).selected, value);
}

} // namespace

class tst_frmAlert : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theWindowAsTheUserMeetsIt()
    {
        TestContext t;
        frmAlert form(t.context());
        QCOMPARE(form.windowTitle(), QStringLiteral("Sound Alerts"));
        QCOMPARE(form.alertText(), QString());
        const QStringList captions{"&Browse...", "&Test", "&OK", "&Cancel"};
        const QStringList names{"cmdBrowse", "cmdTest", "cmdOK", "cmdCancel"};
        for (int i = 0; i < names.size(); ++i) {
            auto *button = form.findChild<QPushButton *>(names[i]);
            QVERIFY2(button, qPrintable(names[i]));
            QCOMPARE(button->text(), captions[i]);
        }
        QVERIFY(form.findChild<QLineEdit *>(QStringLiteral("txtAlert")));
        QVERIFY(!form.isModal());
    }

    void browseStoresTheFileForEveryMarkedKind()
    {
        TestContext t;
        mark(t, AlertKind::Connected, QStringLiteral("Yes"));
        mark(t, AlertKind::Disconnected, QStringLiteral("No"));
        mark(t, AlertKind::MailNoArrive, QStringLiteral("Yes"));
        t.settings().save(Keys::AlertDisconnectedSound, QStringLiteral("/old/ding.wav"));
        t.dialogs().chooseFileNext(QStringLiteral("/sounds/tada.wav"));
        frmAlert form(t.context());
        form.findChild<QPushButton *>(QStringLiteral("cmdBrowse"))->click();
        QCOMPARE(t.dialogs().count(QStringLiteral("file")), 1);
        QCOMPARE(t.dialogs().shown().constLast().text, QStringLiteral("Wav (*.wav)"));
        QCOMPARE(sound(t, AlertKind::Connected), QStringLiteral("/sounds/tada.wav"));
        QCOMPARE(sound(t, AlertKind::MailNoArrive), QStringLiteral("/sounds/tada.wav"));
        QCOMPARE(sound(t, AlertKind::Disconnected), QStringLiteral("/old/ding.wav"));
        QVERIFY(!t.settings().contains(Keys::AlertMailArriveSound));
        QCOMPARE(form.alertText(), QStringLiteral("/sounds/tada.wav"));
    }

    void cancellingTheFileDialogKeepsTheChosenSound()
    {
        TestContext t;
        mark(t, AlertKind::MailArrive, QStringLiteral("Yes"));
        t.settings().save(Keys::AlertMailArriveSound, QStringLiteral("/sounds/mail.wav"));
        frmAlert form(t.context());
        QSignalSpy saved(&t.settings(), &SettingsStore::saved);
        form.cmdBrowse_Click(); // nothing scripted: the dialog is cancelled
        QCOMPARE(saved.count(), 0);
        QCOMPARE(sound(t, AlertKind::MailArrive), QStringLiteral("/sounds/mail.wav"));
        QCOMPARE(form.alertText(), QString());
    }

    void testPlaysWhatTheBoxSaysAndStoresNothing()
    {
        TestContext t;
        const QString path = WaveFixture::write(
            t.dir(), QStringLiteral("typed.wav"), WaveFixture::wave(8000, 1, "\1\2\3\4"));
        frmAlert form(t.context());
        QSignalSpy saved(&t.settings(), &SettingsStore::saved);
        auto *text = form.findChild<QLineEdit *>(QStringLiteral("txtAlert"));
        text->setText(path);
        form.cmdTest_Click();
        text->setText(t.dir() + "/nothing-here.wav");
        form.cmdTest_Click();
        QCOMPARE(t.sounds().names(), QStringList({path, QStringLiteral("<default>")}));
        QCOMPARE(saved.count(), 0);
    }

    void okClearsEveryMarkAndUnloads()
    {
        TestContext t;
        mark(t, AlertKind::Connected, QStringLiteral("Yes"));
        mark(t, AlertKind::MailArrive, QStringLiteral("Yes"));
        QPointer<frmAlert> form = new frmAlert(t.context());
        form->show();
        form->cmdOK_Click();
        QTRY_VERIFY(form.isNull());
        for (AlertKind kind : SoundAlerts::allKinds)
            QCOMPARE(selected(t, kind), QStringLiteral("No"));
    }

    void cancelUnloadsAndKeepsTheMarks()
    {
        TestContext t;
        mark(t, AlertKind::Disconnected, QStringLiteral("Yes"));
        QPointer<frmAlert> form = new frmAlert(t.context());
        form->show();
        QSignalSpy saved(&t.settings(), &SettingsStore::saved);
        form->cmdCancel_Click();
        QTRY_VERIFY(form.isNull());
        QCOMPARE(saved.count(), 0);
        QCOMPARE(selected(t, AlertKind::Disconnected), QStringLiteral("Yes"));
    }
};

QTEST_MAIN(tst_frmAlert)
#include "tst_frmalert.moc"
