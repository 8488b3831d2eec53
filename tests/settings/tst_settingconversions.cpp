#include "settings/conversions.h"
#include "support/testcontext.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace SettingConversions;

class tst_SettingConversions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void integerAndTruthConversions();
    void garbledFileGivesEachRowItsDefault();
    void wellFormedValuesAreRead();
};

void tst_SettingConversions::integerAndTruthConversions()
{
    QCOMPARE(toInteger(QStringLiteral("1")), 1);
    QCOMPARE(toInteger(QStringLiteral(" 10 ")), 10);
    QCOMPARE(toInteger(QStringLiteral("-3")), -3);
    QCOMPARE(toInteger(QString()), std::nullopt);
    QCOMPARE(toInteger(QStringLiteral("1x")), std::nullopt);
    QCOMPARE(toInteger(QStringLiteral("99999999999")), std::nullopt);
    QCOMPARE(toTruth(QStringLiteral("True")), true);
    QCOMPARE(toTruth(QStringLiteral("false")), false);
    QCOMPARE(toTruth(QStringLiteral("1")), true);
    QCOMPARE(toTruth(QStringLiteral("0")), false);
    QCOMPARE(toTruth(QString()), std::nullopt);
    QCOMPARE(toTruth(QStringLiteral("Yes")), std::nullopt);
    QCOMPARE(fromTruth(true), QStringLiteral("True"));
}

// A hand-edited or damaged file must never stop the program: each unreadable value is taken
// as its row's default.
void tst_SettingConversions::garbledFileGivesEachRowItsDefault()
{
    TestContext t;
    QDir().mkpath(QFileInfo(t.settingsPath()).absolutePath());
    QFile f(t.settingsPath());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[ReconnectLineBusy]\nLineBusy=checked\nBusy=lots\n"
            "[ShowCustomizeBrisvaneReminder]\nReminder=maybe\n"
            "[ShowConnect]\nConnect=7\n"
            "[CheckMailMinutes]\nMailMinutes=45\n"
            "[MailSlot]\nSlot=\n");
    f.close();
    t.reopen();
    QVERIFY(t.settings().problem().isEmpty());
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("Ignoring unreadable value.*")));
    QCOMPARE(readCheckState(t.settings(), Keys::ReconnectLineBusy, 0), 0);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("Ignoring unreadable value.*")));
    QCOMPARE(readCount(t.settings(), Keys::ReconnectLineBusyCount, 1, 1, 10), 1);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("Ignoring unreadable value.*")));
    QCOMPARE(readTruth(t.settings(), Keys::ShowCustomizeBrisvaneReminder, true), true);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("Ignoring unreadable value.*")));
    QCOMPARE(readCheckState(t.settings(), Keys::ShowConnect, 1), 1);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("Ignoring unreadable value.*")));
    QCOMPARE(readCount(t.settings(), Keys::CheckMailMinutes, 1, 1, 30), 1);
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("Ignoring unreadable value.*")));
    QCOMPARE(readCount(t.settings(), Keys::MailSlotCount, 2, 0, 5), 2);
}

void tst_SettingConversions::wellFormedValuesAreRead()
{
    TestContext t;
    t.settings().save(Keys::ReconnectLineBusy, QStringLiteral("1"));
    t.settings().save(Keys::ReconnectLineBusyCount, QStringLiteral("10"));
    t.settings().save(Keys::ShowCustomizeBrisvaneReminder, QStringLiteral("False"));
    QCOMPARE(readCheckState(t.settings(), Keys::ReconnectLineBusy, 0), 1);
    QCOMPARE(readCount(t.settings(), Keys::ReconnectLineBusyCount, 1, 1, 10), 10);
    QCOMPARE(readTruth(t.settings(), Keys::ShowCustomizeBrisvaneReminder, true), false);
    // Absent keys give the fallback without complaint.
    QCOMPARE(readCheckState(t.settings(), Keys::ShowConnect, 0), 0);
    QCOMPARE(readTruth(t.settings(), Keys::MailCheck, true), true);
}

QTEST_GUILESS_MAIN(tst_SettingConversions)
#include "tst_settingconversions.moc"
