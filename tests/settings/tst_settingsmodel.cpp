#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "support/testcontext.h"

#include <QSignalSpy>
#include <QTest>

class tst_SettingsModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyReaderAppliesOneRule();
    void changedFollowsRealChangesFromEitherSide();
};

// A grey box is off, a count out of range or unreadable is the key's default, and what the
// model writes reads back as the file has always spelled it.
void tst_SettingsModel::everyReaderAppliesOneRule()
{
    TestContext t;
    SettingsModel &model = t.context().model();
    SettingsStore &store = t.settings();
    QCOMPARE(model.count(Keys::CheckMailMinutes), 1);
    QCOMPARE(model.count(Keys::MailSlotCount), 0);
    QVERIFY(model.isOn(Keys::NoTrayNotice));
    store.save(Keys::DisableMailChecking, QStringLiteral("2"));
    store.save(Keys::CheckMailMinutes, QStringLiteral("31"));
    store.save(Keys::PauseBetweenAccounts, QStringLiteral("two"));
    store.save(Keys::MailSlotCount, QStringLiteral(" 3 "));
    QVERIFY(!model.isOn(Keys::DisableMailChecking));
    QCOMPARE(model.checkState(Keys::DisableMailChecking), 2);
    QCOMPARE(model.count(Keys::CheckMailMinutes), 1);
    QCOMPARE(model.count(Keys::PauseBetweenAccounts), 1);
    QCOMPARE(model.count(Keys::MailSlotCount), 3);
    model.setOn(Keys::CheckMessages, true);
    model.setOn(Keys::NoTrayNotice, false);
    model.setCount(Keys::CheckMailMinutes, 30);
    model.setCount(Keys::CheckMailMinutes, 0); // out of range: not stored
    QCOMPARE(store.get(Keys::CheckMessages), QStringLiteral("1"));
    QCOMPARE(store.get(Keys::NoTrayNotice), QStringLiteral("False"));
    QCOMPARE(store.get(Keys::CheckMailMinutes), QStringLiteral("30"));
}

void tst_SettingsModel::changedFollowsRealChangesFromEitherSide()
{
    TestContext t;
    SettingsModel &model = t.context().model();
    QSignalSpy changed(&model, &SettingsModel::changed);
    model.setOn(Keys::CheckMessages, true);
    model.setOn(Keys::CheckMessages, true); // the same value again: no change
    t.settings().SaveSetting(
        QStringLiteral("checkmessages"), QStringLiteral("MESSAGES"), QStringLiteral("0"));
    QCOMPARE(changed.count(), 2);
    for (const QList<QVariant> &signal : changed)
        QVERIFY(signal.at(0).value<SettingKey>() == Keys::CheckMessages);
}

QTEST_GUILESS_MAIN(tst_SettingsModel)
#include "tst_settingsmodel.moc"
