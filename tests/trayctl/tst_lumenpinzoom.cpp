#include "trayfixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

// Zooming windows to and from the tray, the minimise watch, popup menus and the About box.
class tst_LumenpinZoom : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stripIsTheRoundedCentreOfTheTray_data();
    void stripIsTheRoundedCentreOfTheTray();
    void zoomFromTrayHidesThenShowsAndDrawsFromTheStrip();
    void noRectangleWhereTheTrayPlaceIsUnknown();
    void zoomToTrayHidesAVisibleWindow();
    void minimiseBecomesZoomAndAfterMinimizeOneTickLater_data();
    void minimiseBecomesZoomAndAfterMinimizeOneTickLater();
    void duplicateWatchLeavesOneAndRemovingEndsIt();
    void watchMovesToTheControlThatWatchedLast();
    void destroyedWindowOrControlEndsTheWatch();
    void popupPassesOnlyTheArgumentsGiven();
    void popupOpensAtTheHostPlaceWithItsDefaultItem();
    void aboutBoxShowsProductAndVersion();
};

namespace {
// Notes the window's hide and show events, in order.
struct VisibilityLog : QObject {
    QStringList seen;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            seen << QStringLiteral("hide");
        else if (event->type() == QEvent::Show)
            seen << QStringLiteral("show");
        return false;
    }
};

QWidget *topLevel(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name)
            return w;
    }
    return nullptr;
}
} // namespace

void tst_LumenpinZoom::stripIsTheRoundedCentreOfTheTray_data()
{
    QTest::addColumn<QRect>("tray");
    QTest::addColumn<QRect>("strip");
    // Edges (left, right) 100..105: 105 - 2.5 = 102.5, to even 102; 101..106: 103.5 -> 104.
    QTest::newRow("half down to even") << QRect(100, 770, 5, 30) << QRect(102, 770, 1, 30);
    QTest::newRow("half up to even") << QRect(101, 770, 5, 30) << QRect(104, 770, 1, 30);
    QTest::newRow("whole") << QRect(1000, 0, 200, 32) << QRect(1100, 0, 1, 32);
    QTest::newRow("no tray") << QRect() << QRect(0, 0, 1, 0);
}

void tst_LumenpinZoom::stripIsTheRoundedCentreOfTheTray()
{
    QFETCH(QRect, tray);
    QFETCH(QRect, strip);
    QCOMPARE(Lumenpin::trayStrip(tray), strip);
    TrayFixture f;
    f.tray.setTrayGeometry(tray);
    QCOMPARE(f.control.trayTarget(), strip);
}

void tst_LumenpinZoom::zoomFromTrayHidesThenShowsAndDrawsFromTheStrip()
{
    TrayFixture f;
    f.control.setZoomEffect(true);
    f.tray.setTrayGeometry(QRect(1000, 0, 200, 32));
    QWidget window;
    window.setGeometry(100, 100, 300, 200);
    window.show();
    VisibilityLog log;
    window.installEventFilter(&log);
    f.control.ZoomFromTray(&window);
    QCOMPARE(log.seen, (QStringList{"hide", "show"}));
    QVERIFY(window.isVisible());

    QWidget *effect = topLevel(QStringLiteral("ZoomEffect"));
    QVERIFY(effect && effect->isVisible());
    QCOMPARE(effect->geometry().topLeft(), QPoint(1100, 0));
    f.clock.advance(60);
    const QRect midway = effect->geometry();
    QVERIFY(midway.left() < 1100 && midway.left() > window.frameGeometry().left());
    f.clock.advance(1000);
    QVERIFY(!effect->isVisible());

    // A minimised window comes back in its normal state, not shown and still minimised.
    window.showMinimized();
    f.control.ZoomFromTray(&window);
    QVERIFY(window.isVisible() && !window.isMinimized());
}

void tst_LumenpinZoom::noRectangleWhereTheTrayPlaceIsUnknown()
{
    // StatusNotifier hosts do not tell where the icon is: the window only hides and shows.
    TrayFixture f;
    f.control.setZoomEffect(true);
    QWidget window;
    window.setGeometry(100, 100, 300, 200);
    f.control.ZoomFromTray(&window);
    QVERIFY(window.isVisible());
    QWidget *effect = topLevel(QStringLiteral("ZoomEffect"));
    QVERIFY(!effect || !effect->isVisible());
    f.control.ZoomToTray(&window);
    QVERIFY(!window.isVisible());
    effect = topLevel(QStringLiteral("ZoomEffect"));
    QVERIFY(!effect || !effect->isVisible());
}

void tst_LumenpinZoom::zoomToTrayHidesAVisibleWindow()
{
    TrayFixture f;
    QWidget window;
    window.show();
    f.control.ZoomToTray(&window);
    QVERIFY(!window.isVisible());
    f.control.ZoomToTray(nullptr); // no window, no harm
}

void tst_LumenpinZoom::minimiseBecomesZoomAndAfterMinimizeOneTickLater_data()
{
    QTest::addColumn<int>("state");
    QTest::newRow("minimise") << int(Qt::WindowMinimized);
    QTest::newRow("minimise with more bits") << int(Qt::WindowMinimized | Qt::WindowMaximized);
}

void tst_LumenpinZoom::minimiseBecomesZoomAndAfterMinimizeOneTickLater()
{
    QFETCH(int, state);
    TrayFixture f;
    QWidget window;
    window.show();
    QWidget *minimised = nullptr;
    connect(&f.control, &Lumenpin::AfterMinimize, this, [&](QWidget *w) { minimised = w; });
    f.control.AddMinimizeWatch(&window);
    window.setWindowState(Qt::WindowStates(state));
    QVERIFY(!window.isVisible());
    QVERIFY(!window.isMinimized());
    QVERIFY(f.events.isEmpty());
    f.clock.advance(1);
    QCOMPARE(f.events, QStringList{QStringLiteral("AfterMinimize")});
    QCOMPARE(minimised, &window);

    window.show();
    window.setWindowState(Qt::WindowMaximized); // other changes pass through
    QVERIFY(window.isVisible());
    f.clock.advance(10);
    QCOMPARE(f.events.size(), 1);
}

void tst_LumenpinZoom::duplicateWatchLeavesOneAndRemovingEndsIt()
{
    TrayFixture f;
    QWidget window;
    window.show();
    f.control.AddMinimizeWatch(&window);
    f.control.AddMinimizeWatch(&window);
    QCOMPARE(window.findChildren<QObject *>(QStringLiteral("ZoomWatch")).size(), 1);
    window.showMinimized();
    f.clock.advance(1);
    QCOMPARE(f.events.size(), 1);

    window.show();
    f.control.RemoveMinimizeWatch(&window);
    f.control.RemoveMinimizeWatch(&window); // not watched: no error
    QVERIFY(window.findChildren<QObject *>(QStringLiteral("ZoomWatch")).isEmpty());
    window.showMinimized();
    QVERIFY(window.isMinimized());
    f.clock.advance(10);
    QCOMPARE(f.events.size(), 1);
}

void tst_LumenpinZoom::watchMovesToTheControlThatWatchedLast()
{
    TrayFixture first;
    TrayFixture second;
    QWidget window;
    window.show();
    first.control.AddMinimizeWatch(&window);
    second.control.AddMinimizeWatch(&window);
    window.showMinimized();
    first.clock.advance(1);
    second.clock.advance(1);
    QVERIFY(first.events.isEmpty());
    QCOMPARE(second.events, QStringList{QStringLiteral("AfterMinimize")});
    // Any control may end a watch.
    first.control.RemoveMinimizeWatch(&window);
    QVERIFY(window.findChildren<QObject *>(QStringLiteral("ZoomWatch")).isEmpty());
}

void tst_LumenpinZoom::destroyedWindowOrControlEndsTheWatch()
{
    TrayFixture f;
    auto *window = new QWidget;
    window->show();
    f.control.AddMinimizeWatch(window);
    const QPointer<QObject> watch = window->findChild<QObject *>(QStringLiteral("ZoomWatch"));
    QVERIFY(watch);
    delete window;
    QVERIFY(!watch);

    auto other = std::make_unique<QWidget>();
    other->show();
    f.control.AddMinimizeWatch(other.get());

    {
        VirtualClock clock;
        RecordingTrayService tray;
        Lumenpin owner(tray, &clock);
        owner.AddMinimizeWatch(other.get()); // takes the watch over, then goes away
    }
    QVERIFY(other->findChildren<QObject *>(QStringLiteral("ZoomWatch")).isEmpty());
    other->showMinimized();
    QVERIFY(other->isMinimized());
}

void tst_LumenpinZoom::popupPassesOnlyTheArgumentsGiven()
{
    TrayFixture f;
    QWidget host;
    f.control.setParent(&host);
    QMenu menu;
    QList<Lumenpin::PopupRequest> requests;
    QWidget *seenHost = nullptr;
    bool helperUp = false;
    f.control.setPopupHandler([&](QWidget *h, const Lumenpin::PopupRequest &request) {
        seenHost = h;
        requests << request;
        helperUp = topLevel(QStringLiteral("frmHidden")) != nullptr;
        return true;
    });
    const bool ok = f.control.PopupMenu(&menu) && f.control.PopupMenu(&menu, {}, 10, 20)
        && f.control.PopupMenu(&menu, Lumenpin::RightAlign, {}, {}, menu.addAction("Exit"));
    f.control.setParent(nullptr);
    QVERIFY(ok);
    QCOMPARE(seenHost, &host);
    QVERIFY(helperUp);
    QVERIFY(!topLevel(QStringLiteral("frmHidden")));
    QCOMPARE(requests.size(), 3);
    QVERIFY(!requests[0].flags && !requests[0].x && !requests[0].y && !requests[0].defaultMenu);
    QVERIFY(!requests[1].flags && requests[1].x == 10 && requests[1].y == 20);
    QVERIFY(requests[2].flags == 8 && !requests[2].x && requests[2].defaultMenu);

    f.control.setPopupHandler(nullptr);
    QVERIFY(!f.control.PopupMenu(nullptr));
    QVERIFY(!f.control.lastError().isEmpty());
}

void tst_LumenpinZoom::popupOpensAtTheHostPlaceWithItsDefaultItem()
{
    TrayFixture f;
    QWidget host;
    host.setGeometry(200, 150, 400, 300);
    host.show();
    f.control.setParent(&host);
    QMenu menu;
    menu.addAction(QStringLiteral("Connect"));
    QAction *exit = menu.addAction(QStringLiteral("Exit"));
    QPoint openedAt;
    QTimer::singleShot(0, &menu, [&] {
        openedAt = menu.pos();
        menu.close();
    });
    const bool ok = f.control.PopupMenu(&menu, {}, 30, 40, exit);
    f.control.setParent(nullptr);
    QVERIFY(ok);
    QCOMPARE(openedAt, host.mapToGlobal(QPoint(30, 40)));
    QCOMPARE(menu.defaultAction(), exit);
}

void tst_LumenpinZoom::aboutBoxShowsProductAndVersion()
{
    TrayFixture f;
    QStringList texts;
    QTimer::singleShot(0, this, [&] {
        QWidget *about = QApplication::activeModalWidget();
        QVERIFY(about);
        for (QLabel *label : about->findChildren<QLabel *>())
            texts << label->text();
        auto *close = about->findChild<QAbstractButton *>(QStringLiteral("cmdClose"));
        QVERIFY(close);
        texts << close->text();
        close->click();
    });
    f.control.AboutBox();
    QCOMPARE(texts, (QStringList{"pinlib6", "Version 1.0 (Build 0)", "&Close"}));
}

QTEST_MAIN(tst_LumenpinZoom)
#include "tst_lumenpinzoom.moc"
