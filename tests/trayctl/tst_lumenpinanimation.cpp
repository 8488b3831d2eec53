#include "trayfixture.h"

#include <QImage>
#include <QTest>

// Animation through an image list and blinking, on the control's clock.
class tst_LumenpinAnimation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void framesRunFromStartFrame_data();
    void framesRunFromStartFrame();
    void stopRestoresTheIconAndIntervalIsKept();
    void emptyListStopsBlinkingAndStartsNothing();
    void badStartFrameOrNoListFailsWithoutStarting();
    void framesAddedOrRemovedTakeEffectAndNonIconsAreRefused();
    void blinkStartingHiddenShowsAfterOneInterval();
    void stopBlinkInTheEmptyPhaseShowsTheIconAgain();
    void modesExcludeEachOtherAndStoppingTheOtherChangesNothing();
    void blankIconIsSixteenSquareAndFullyTransparent();
    void realIconOutlivesTheFrames_data();
    void realIconOutlivesTheFrames();
    void nonPositiveIntervalIsRefused_data();
    void nonPositiveIntervalIsRefused();
};

namespace {
struct Frames {
    QList<QIcon> icons{
        TrayFixture::icon(Qt::red), TrayFixture::icon(Qt::green), TrayFixture::icon(Qt::blue)};
    ImageList list{icons};
    // The frame numbers (1-based) of the icons the tray was given, 0 for any other.
    QList<int> numbers(const QList<qint64> &keys) const
    {
        QList<int> out;
        for (qint64 key : keys) {
            int n = 0;
            for (int i = 0; i < icons.size(); ++i)
                n = icons.at(i).cacheKey() == key ? i + 1 : n;
            out << n;
        }
        return out;
    }
};
} // namespace

void tst_LumenpinAnimation::framesRunFromStartFrame_data()
{
    QTest::addColumn<int>("startFrame");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("1") << 1 << QList<int>{1, 2, 3, 1, 2};
    QTest::newRow("3") << 3 << QList<int>{3, 1, 2, 3, 1};
    QTest::newRow("4 of 3") << 4 << QList<int>{1, 2, 3, 1, 2};
}

void tst_LumenpinAnimation::framesRunFromStartFrame()
{
    QFETCH(int, startFrame);
    QFETCH(QList<int>, expected);
    TrayFixture f;
    Frames frames;
    f.showIcon(TrayFixture::icon(Qt::black));
    QVERIFY(f.control.StartAnimation(&frames.list, 250, startFrame));
    QVERIFY(f.control.IsAnimating());
    f.clock.advance(4 * 250);
    QCOMPARE(frames.numbers(f.iconKeys()), expected);
}

void tst_LumenpinAnimation::stopRestoresTheIconAndIntervalIsKept()
{
    TrayFixture f;
    Frames frames;
    const QIcon idle = TrayFixture::icon(Qt::black);
    f.showIcon(idle);
    f.control.StartAnimation(&frames.list, 600);
    f.clock.advance(599);
    QCOMPARE(f.iconKeys().size(), 1);
    f.clock.advance(1);
    QCOMPARE(f.iconKeys().size(), 2);
    f.control.StopAnimation();
    QVERIFY(!f.control.IsAnimating());
    QCOMPARE(f.iconKeys().last(), idle.cacheKey());
    f.clock.advance(5000);
    QCOMPARE(f.iconKeys().size(), 3);
}

void tst_LumenpinAnimation::emptyListStopsBlinkingAndStartsNothing()
{
    TrayFixture f;
    const QIcon idle = TrayFixture::icon(Qt::black);
    f.showIcon(idle);
    f.control.StartBlink(750, false);
    ImageList empty;
    QVERIFY(f.control.StartAnimation(&empty));
    QVERIFY(!f.control.IsBlinking());
    QVERIFY(!f.control.IsAnimating());
    QCOMPARE(f.control.TrayIcon().cacheKey(), idle.cacheKey());
}

void tst_LumenpinAnimation::badStartFrameOrNoListFailsWithoutStarting()
{
    TrayFixture f;
    Frames frames;
    f.showIcon(TrayFixture::icon(Qt::black));
    QVERIFY(!f.control.StartAnimation(&frames.list, 250, 0));
    QVERIFY(!f.control.lastError().isEmpty());
    QVERIFY(!f.control.IsAnimating());

    f.control.StartBlink();
    QVERIFY(!f.control.StartAnimation(nullptr));
    QVERIFY(!f.control.IsBlinking()); // stopped before the list was looked at
    f.clock.advance(5000);
    QCOMPARE(f.iconKeys().size(), 2); // the blink's start and its stop
}

void tst_LumenpinAnimation::framesAddedOrRemovedTakeEffectAndNonIconsAreRefused()
{
    TrayFixture f;
    Frames frames;
    f.showIcon(TrayFixture::icon(Qt::black));
    f.control.StartAnimation(&frames.list, 100, 3);
    frames.list.ListImages().Remove(3); // frame 4 of 2: back to 1
    f.clock.advance(100);
    QCOMPARE(frames.numbers(f.iconKeys()), (QList<int>{3, 1}));

    QPixmap bitmap(16, 16);
    bitmap.fill(Qt::yellow);
    frames.list.ListImages().Add(StdPicture::fromBitmap(bitmap));
    f.clock.advance(300); // 2, the bitmap (refused), 1
    QCOMPARE(frames.numbers(f.iconKeys()), (QList<int>{3, 1, 2, 1}));
    QCOMPARE(f.messages.size(), 1);
    QVERIFY(f.control.IsAnimating());
}

void tst_LumenpinAnimation::blinkStartingHiddenShowsAfterOneInterval()
{
    TrayFixture f;
    const QIcon idle = TrayFixture::icon(Qt::black);
    const qint64 blank = f.control.imgBlankIcon().cacheKey();
    f.showIcon(idle);
    f.control.StartBlink(750, false);
    QVERIFY(f.control.IsBlinking());
    QCOMPARE(f.iconKeys(), QList<qint64>{blank});
    f.clock.advance(749);
    QCOMPARE(f.iconKeys().size(), 1);
    f.clock.advance(1);
    f.clock.advance(750);
    QCOMPARE(f.iconKeys(), (QList<qint64>{blank, idle.cacheKey(), blank}));
}

void tst_LumenpinAnimation::stopBlinkInTheEmptyPhaseShowsTheIconAgain()
{
    TrayFixture f;
    const QIcon idle = TrayFixture::icon(Qt::black);
    f.showIcon(idle);
    f.control.StartBlink(); // 750 ms, starting visible
    f.clock.advance(750);
    QCOMPARE(f.control.TrayIcon().cacheKey(), f.control.imgBlankIcon().cacheKey());
    f.control.StopBlink();
    QCOMPARE(f.control.TrayIcon().cacheKey(), idle.cacheKey());
    QCOMPARE(f.tray.shown().icon.cacheKey(), idle.cacheKey());
}

void tst_LumenpinAnimation::modesExcludeEachOtherAndStoppingTheOtherChangesNothing()
{
    TrayFixture f;
    Frames frames;
    const QIcon idle = TrayFixture::icon(Qt::black);
    f.showIcon(idle);
    f.control.StartAnimation(&frames.list);
    QVERIFY(!f.control.IsBlinking());
    const int before = int(f.tray.calls().size());
    f.control.StopBlink();
    QCOMPARE(f.tray.calls().size(), before);
    QVERIFY(f.control.IsAnimating());

    f.control.StartBlink(); // stops the animation first: the idle icon is the one that blinks
    QVERIFY(!f.control.IsAnimating());
    f.control.StopAnimation();
    QVERIFY(f.control.IsBlinking());
    f.clock.advance(750 * 2);
    QCOMPARE(f.control.TrayIcon().cacheKey(), idle.cacheKey());
    f.control.StopBlink();
    QCOMPARE(f.control.TrayIcon().cacheKey(), idle.cacheKey());
}

void tst_LumenpinAnimation::blankIconIsSixteenSquareAndFullyTransparent()
{
    TrayFixture f;
    const QIcon blank = f.control.imgBlankIcon();
    QCOMPARE(blank.availableSizes(), QList<QSize>{QSize(16, 16)});
    const QImage image = blank.pixmap(16, 16).toImage();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            QCOMPARE(qAlpha(image.pixel(x, y)), 0);
    }
}

void tst_LumenpinAnimation::realIconOutlivesTheFrames_data()
{
    QTest::addColumn<bool>("blink");
    QTest::newRow("animation") << false;
    QTest::newRow("blink") << true;
}

// Frames are shown, never saved: the property bag keeps the real icon and no frame marks it;
// an icon set meanwhile is the one shown when the mode stops.
void tst_LumenpinAnimation::realIconOutlivesTheFrames()
{
    QFETCH(bool, blink);
    TrayFixture f;
    Frames frames;
    const QIcon idle = TrayFixture::icon(Qt::black);
    f.showIcon(idle);
    f.control.clearChangedProperties();
    if (blink)
        QVERIFY(f.control.StartBlink(100, false));
    else
        QVERIFY(f.control.StartAnimation(&frames.list, 100));
    f.clock.advance(250);
    QVERIFY(f.control.changedProperties().isEmpty());
    const QVariant saved = f.control.WriteProperties().value(QStringLiteral("TrayIcon"));
    QCOMPARE(saved.value<QIcon>().cacheKey(), idle.cacheKey());

    const QIcon connected = TrayFixture::icon(Qt::white);
    f.control.setTrayIcon(connected);
    QVERIFY(f.control.IsBlinking() || f.control.IsAnimating());
    f.clock.advance(250);
    if (blink)
        f.control.StopBlink();
    else
        f.control.StopAnimation();
    QCOMPARE(f.tray.shown().icon.cacheKey(), connected.cacheKey());
    QCOMPARE(f.control.changedProperties(), QStringList{QStringLiteral("TrayIcon")});
}

void tst_LumenpinAnimation::nonPositiveIntervalIsRefused_data()
{
    QTest::addColumn<bool>("blink");
    QTest::addColumn<int>("interval");
    QTest::newRow("blink 0") << true << 0;
    QTest::newRow("blink -5") << true << -5;
    QTest::newRow("animation 0") << false << 0;
}

void tst_LumenpinAnimation::nonPositiveIntervalIsRefused()
{
    QFETCH(bool, blink);
    QFETCH(int, interval);
    TrayFixture f;
    Frames frames;
    f.showIcon(TrayFixture::icon(Qt::black));
    QVERIFY(f.control.StartAnimation(&frames.list, 100));
    const bool started
        = blink ? f.control.StartBlink(interval) : f.control.StartAnimation(&frames.list, interval);
    QVERIFY(!started);
    QVERIFY(f.control.lastError().contains(QLatin1String("interval")));
    QVERIFY(f.control.IsAnimating()); // nothing changed
}

QTEST_MAIN(tst_LumenpinAnimation)
#include "tst_lumenpinanimation.moc"
