#include "trayfixture.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTest>

using namespace MouseMessage;

// Mouse activity on the icon becomes the control's events on the 5 ms delivery tick.
class tst_LumenpinEvents : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachMessageRaisesItsEventsInOrder_data();
    void eachMessageRaisesItsEventsInOrder();
    void eventsWaitForTheDeliveryTick();
    void moveThenPressWithin5msDeliversOnlyThePress();
    void doubleClickAtOrdinarySpeed();
    void onlyThisControlsCallbackReachesIt();
    void qtBackendTurnsActivationsIntoMessages_data();
    void qtBackendTurnsActivationsIntoMessages();
    void qtBackendFailsOnIconsItDoesNotHold();
    void hostsWithTheirOwnMenuSendActivationsForClicks_data();
    void hostsWithTheirOwnMenuSendActivationsForClicks();
    void theIconMenuGoesWithTheIconIntoTheTray();
};

void tst_LumenpinEvents::eachMessageRaisesItsEventsInOrder_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char *name, int message, const QString &events) {
        QTest::newRow(name) << message << events.split(u' ', Qt::SkipEmptyParts);
    };
    row("move", MouseMove, QStringLiteral("MouseMove"));
    row("left down", LeftDown, QStringLiteral("MouseDown(1)"));
    row("left up", LeftUp, QStringLiteral("MouseUp(1) LeftClick Click AnyClick"));
    row("left double", LeftDoubleClick, QStringLiteral("LeftDblClick DblClick AnyDblClick"));
    row("right down", RightDown, QStringLiteral("MouseDown(2)"));
    row("right up", RightUp, QStringLiteral("MouseUp(2) RightClick AnyClick"));
    row("right double", RightDoubleClick, QStringLiteral("RightDblClick AnyDblClick"));
    row("middle down", MiddleDown, QStringLiteral("MouseDown(4)"));
    row("middle up", MiddleUp, QStringLiteral("MouseUp(4) MiddleClick AnyClick"));
    row("middle double", MiddleDoubleClick, QStringLiteral("MiddleDblClick AnyDblClick"));
    row("other", 522, QString());
    row("below the range", 511, QString());
}

void tst_LumenpinEvents::eachMessageRaisesItsEventsInOrder()
{
    QFETCH(int, message);
    QFETCH(QStringList, expected);
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    QVERIFY(f.tray.send(message));
    f.clock.advance(5);
    QCOMPARE(f.events, expected);
}

void tst_LumenpinEvents::eventsWaitForTheDeliveryTick()
{
    TrayFixture f;
    f.control.PrepFireEvent(LeftUp, 0);
    f.clock.advance(4);
    QVERIFY(f.events.isEmpty());
    f.clock.advance(1);
    QCOMPARE(f.events.size(), 4);
    f.clock.advance(100); // one shot
    QCOMPARE(f.events.size(), 4);
}

void tst_LumenpinEvents::moveThenPressWithin5msDeliversOnlyThePress()
{
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    f.tray.send(MouseMove);
    f.clock.advance(3);
    f.tray.send(LeftDown);
    f.clock.advance(10);
    QCOMPARE(f.events, QStringList{QStringLiteral("MouseDown(1)")});
}

void tst_LumenpinEvents::doubleClickAtOrdinarySpeed()
{
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    for (int message : {LeftDown, LeftUp, LeftDoubleClick, LeftUp}) {
        f.tray.send(message);
        f.clock.advance(60);
    }
    QCOMPARE(f.events,
        (QStringList{"MouseDown(1)", "MouseUp(1)", "LeftClick", "Click", "AnyClick", "LeftDblClick",
            "DblClick", "AnyDblClick", "MouseUp(1)", "LeftClick", "Click", "AnyClick"}));
}

void tst_LumenpinEvents::onlyThisControlsCallbackReachesIt()
{
    TrayFixture f;
    f.showIcon(TrayFixture::icon(Qt::red));
    Q_EMIT f.tray.trayMessage(f.control.hWnd() + 1, 1125, 0, LeftUp); // another window
    Q_EMIT f.tray.trayMessage(f.control.hWnd(), 1126, 0, LeftUp); // another message
    f.clock.advance(10);
    QVERIFY(f.events.isEmpty());

    f.control.setTrayVisible(false); // the callback is taken away with the icon
    Q_EMIT f.tray.trayMessage(f.control.hWnd(), 1125, 0, LeftUp);
    f.clock.advance(10);
    QVERIFY(f.events.isEmpty());
}

void tst_LumenpinEvents::qtBackendTurnsActivationsIntoMessages_data()
{
    QTest::addColumn<int>("reason");
    QTest::addColumn<QStringList>("expected");
    // A press and release in one go: the release is the message delivered.
    QTest::newRow("trigger") << int(QSystemTrayIcon::Trigger)
                             << QStringList{"MouseUp(1)", "LeftClick", "Click", "AnyClick"};
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick)
                                  << QStringList{"LeftDblClick", "DblClick", "AnyDblClick"};
    QTest::newRow("context") << int(QSystemTrayIcon::Context)
                             << QStringList{"MouseUp(2)", "RightClick", "AnyClick"};
    QTest::newRow("middle") << int(QSystemTrayIcon::MiddleClick)
                            << QStringList{"MouseUp(4)", "MiddleClick", "AnyClick"};
    QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << QStringList();
}

void tst_LumenpinEvents::qtBackendTurnsActivationsIntoMessages()
{
    QFETCH(int, reason);
    QFETCH(QStringList, expected);
    VirtualClock clock;
    auto owned = std::make_unique<ChosenTrayHosts>();
    owned->xembed = true;
    QtTrayService tray(std::move(owned));
    Lumenpin control(tray, &clock);
    QStringList events;
    connect(&control, &Lumenpin::MouseUp, this,
        [&](int b) { events << QStringLiteral("MouseUp(%1)").arg(b); });
    connect(&control, &Lumenpin::LeftClick, this, [&] { events << QStringLiteral("LeftClick"); });
    connect(&control, &Lumenpin::Click, this, [&] { events << QStringLiteral("Click"); });
    connect(&control, &Lumenpin::AnyClick, this, [&] { events << QStringLiteral("AnyClick"); });
    connect(
        &control, &Lumenpin::LeftDblClick, this, [&] { events << QStringLiteral("LeftDblClick"); });
    connect(&control, &Lumenpin::DblClick, this, [&] { events << QStringLiteral("DblClick"); });
    connect(
        &control, &Lumenpin::AnyDblClick, this, [&] { events << QStringLiteral("AnyDblClick"); });
    connect(&control, &Lumenpin::RightClick, this, [&] { events << QStringLiteral("RightClick"); });
    connect(
        &control, &Lumenpin::MiddleClick, this, [&] { events << QStringLiteral("MiddleClick"); });
    control.setTrayIcon(TrayFixture::icon(Qt::red));
    control.setTrayTip(QStringLiteral("0123456789").repeated(7));
    control.setTrayVisible(true);
    auto *icon = tray.findChild<QSystemTrayIcon *>();
    QVERIFY(icon);
    QCOMPARE(icon->toolTip(), QStringLiteral("0123456789").repeated(7));
    Q_EMIT icon->activated(QSystemTrayIcon::ActivationReason(reason));
    clock.advance(5);
    QCOMPARE(events, expected);
}

void tst_LumenpinEvents::qtBackendFailsOnIconsItDoesNotHold()
{
    QtTrayService tray;
    NotifyRecord record;
    record.window = 42;
    record.flags = NotifyRecord::kIconFlag;
    QVERIFY(!tray.notify(TrayService::Operation::Modify, record));
    QVERIFY(!tray.notify(TrayService::Operation::Delete, record));
    tray.notify(TrayService::Operation::Add, record);
    QVERIFY(!tray.notify(TrayService::Operation::Add, record));
    QVERIFY(tray.notify(TrayService::Operation::Delete, record));
    QVERIFY(!tray.findChild<QSystemTrayIcon *>());
}

void tst_LumenpinEvents::hostsWithTheirOwnMenuSendActivationsForClicks_data()
{
    using namespace MouseMessage;
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("hostMenu");
    QTest::addColumn<QList<int>>("messages");
    // A StatusNotifier host: Activate is the click, SecondaryActivate (the middle click) stands
    // for the double click it never sends, ContextMenu stays the right click.
    QTest::newRow("Activate") << int(QSystemTrayIcon::Trigger) << true
                              << QList<int>{LeftDown, LeftUp};
    QTest::newRow("SecondaryActivate")
        << int(QSystemTrayIcon::MiddleClick) << true << QList<int>{LeftDoubleClick};
    QTest::newRow("ContextMenu") << int(QSystemTrayIcon::Context) << true
                                 << QList<int>{RightDown, RightUp};
    // The XEmbed tray keeps its double click and its middle button.
    QTest::newRow("XEmbed middle")
        << int(QSystemTrayIcon::MiddleClick) << false << QList<int>{MiddleDown, MiddleUp};
    QTest::newRow("XEmbed double")
        << int(QSystemTrayIcon::DoubleClick) << false << QList<int>{LeftDoubleClick};
}

void tst_LumenpinEvents::hostsWithTheirOwnMenuSendActivationsForClicks()
{
    QFETCH(int, reason);
    QFETCH(bool, hostMenu);
    QFETCH(QList<int>, messages);
    QCOMPARE(QtTrayService::mouseMessagesFor(reason, hostMenu), messages);
}

void tst_LumenpinEvents::theIconMenuGoesWithTheIconIntoTheTray()
{
    TrayFixture f;
    QMenu menu;
    f.control.setIconMenu(&menu); // no icon yet: kept for later
    QVERIFY(!f.tray.iconMenu() && !f.control.menuShownByHost());
    f.tray.setHostShowsMenus(true);
    f.control.setTrayIcon(TrayFixture::icon(Qt::red));
    f.control.setTrayVisible(true);
    QCOMPARE(f.tray.iconMenu(), &menu);
    QVERIFY(f.control.menuShownByHost());
    f.control.setTrayVisible(false);
    QVERIFY(!f.control.menuShownByHost());
    f.control.setTrayVisible(true);
    QVERIFY(f.control.menuShownByHost());

    // Before any host the icon waits in the service, and Qt is given no icon to choose its
    // kind by. Without a StatusNotifier host Qt would pop the menu up itself at every right
    // press, beside the program's own popup: the backend keeps it off the icon.
    VirtualClock clock;
    auto owned = std::make_unique<ChosenTrayHosts>();
    ChosenTrayHosts *hosts = owned.get();
    QtTrayService tray(std::move(owned));
    Lumenpin control(tray, &clock);
    control.setTrayIcon(TrayFixture::icon(Qt::red));
    control.setTrayTip(QStringLiteral("tip"));
    control.setTrayVisible(true);
    control.setIconMenu(&menu);
    QVERIFY(!tray.trayAvailable() && !tray.findChild<QSystemTrayIcon *>());
    hosts->set(false, true);
    QCOMPARE(tray.backend(), QtTrayService::Backend::XEmbed);
    QVERIFY(tray.trayAvailable());
    auto *icon = tray.findChild<QSystemTrayIcon *>();
    QVERIFY(icon && icon->isVisible() && !icon->icon().isNull());
    QCOMPARE(icon->toolTip(), QStringLiteral("tip"));
    QVERIFY(!control.menuShownByHost() && !icon->contextMenu());
    // The kind stays: a StatusNotifier host that comes later does not count, the XEmbed tray
    // going and coming does.
    hosts->set(true, false);
    QVERIFY(!tray.trayAvailable());
    hosts->set(false, true);
    QVERIFY(tray.trayAvailable() && tray.findChild<QSystemTrayIcon *>() == icon);
}

QTEST_MAIN(tst_LumenpinEvents)
#include "tst_lumenpinevents.moc"
