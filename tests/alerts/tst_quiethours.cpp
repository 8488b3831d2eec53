// Quiet hours on the virtual clock (its day starts at noon): which moments are quiet, and
// what the notifier and the sound player do in them and at their end.

#include "alerts/quiethours.h"
#include "support/recordingnotifier.h"
#include "support/recordingsoundplayer.h"
#include "support/testcontext.h"

#include <QTest>

namespace {
Notifier::Notification note(const char *tag, const char *body)
{
    Notifier::Notification n;
    n.tag = QLatin1String(tag);
    n.body = QLatin1String(body);
    return n;
}
} // namespace

class tst_QuietHours : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quietBetweenItsTimes_data();
    void quietBetweenItsTimes();
    void notificationsWaitForTheEndAndSoundsAreNotHeard();
};

void tst_QuietHours::quietBetweenItsTimes_data()
{
    // The box, the range and the moment; the minutes of quiet left.
    QTest::addColumn<QStringList>("setting");
    QTest::addColumn<int>("minutesLeft");
    QTest::newRow("inside") << QStringList{"1", "11:00", "13:00", "12:00"} << 60;
    QTest::newRow("at its start") << QStringList{"1", "12:00", "12:30", "12:00"} << 30;
    QTest::newRow("at its end") << QStringList{"1", "11:00", "12:00", "12:00"} << 0;
    QTest::newRow("over midnight, before") << QStringList{"1", "22:00", "07:00", "06:00"} << 60;
    QTest::newRow("over midnight, after") << QStringList{"1", "22:00", "07:00", "23:30"} << 450;
    QTest::newRow("over midnight, outside") << QStringList{"1", "22:00", "07:00", "12:00"} << 0;
    QTest::newRow("box off") << QStringList{"0", "11:00", "13:00", "12:00"} << 0;
    QTest::newRow("equal times") << QStringList{"1", "12:00", "12:00", "12:00"} << 0;
    QTest::newRow("unreadable") << QStringList{"1", "noon", "13:00", "12:00"} << 0;
}

void tst_QuietHours::quietBetweenItsTimes()
{
    QFETCH(QStringList, setting);
    QFETCH(int, minutesLeft);
    TestContext t;
    for (const auto &[key, value] : {std::pair{Keys::QuietHours, setting.at(0)},
             {Keys::QuietFrom, setting.at(1)}, {Keys::QuietUntil, setting.at(2)}})
        t.settings().save(key, value);
    const QTime at = QTime::fromString(setting.at(3), QStringLiteral("HH:mm"));
    QCOMPARE(QuietHours::msLeft(t.context().model(), at), minutesLeft * 60000LL);
    QCOMPARE(QuietHours::isQuiet(t.context().model(), at), minutesLeft > 0);
}

// Quiet from noon to half past: two notifications with one tag and one withdrawn come, and a
// sound; at half past the survivor is sent once, and sounds are heard again.
void tst_QuietHours::notificationsWaitForTheEndAndSoundsAreNotHeard()
{
    TestContext t;
    t.settings().save(Keys::QuietHours, SettingValues::Checked);
    t.settings().save(Keys::QuietFrom, QStringLiteral("12:00"));
    t.settings().save(Keys::QuietUntil, QStringLiteral("12:30"));
    auto recording = std::make_unique<RecordingNotifier>();
    RecordingNotifier &desktop = *recording;
    QuietNotifier notifier(t.clock(), t.context().model(), std::move(recording));
    auto sounds = std::make_unique<RecordingSoundPlayer>();
    RecordingSoundPlayer &heard = *sounds;
    QuietSoundPlayer player(t.clock(), t.context().model(), notifier, std::move(sounds));

    notifier.notify(note("new-mail/A", "1"));
    player.playDefault();
    t.clock().advance(600000);
    notifier.notify(note("new-mail/A", "2"));
    notifier.notify(note("line", "x"));
    notifier.withdraw(QStringLiteral("line"));
    QCOMPARE(notifier.held(), 1);
    t.clock().advance(1200000 - 1);
    QVERIFY(desktop.sent().isEmpty());
    QVERIFY(heard.played().isEmpty());
    t.clock().advance(1);
    QCOMPARE(desktop.bodies(), QStringList{QStringLiteral("2")});
    t.clock().advance(24 * 3600000);
    QCOMPARE(desktop.sent().size(), 1);
    player.playDefault();
    QCOMPARE(heard.names(), QStringList{QStringLiteral("<default>")});
    notifier.notify(note("line", "y"));
    QCOMPARE(desktop.sent().size(), 2);
}

QTEST_GUILESS_MAIN(tst_QuietHours)
#include "tst_quiethours.moc"
