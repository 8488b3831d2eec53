#include "clock/timer.h"
#include "clock/virtualclock.h"
#include "runtime/frmruntimenotice.h"

#include <QLabel>
#include <QTest>

class tst_frmRuntimeNotice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsCaptionLabelAndPicture()
    {
        VirtualClock clock;
        frmRuntimeNotice notice(clock);
        QCOMPARE(notice.windowTitle(), QStringLiteral("Quorvex"));
        auto *label = notice.findChild<QLabel *>(QStringLiteral("Label1"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("Installing Quorvex...Please Wait"));
        auto *image = notice.findChild<QLabel *>(QStringLiteral("Image1"));
        QVERIFY(image && !image->pixmap().isNull());
        QVERIFY(!(notice.windowFlags() & Qt::WindowCloseButtonHint));
    }

    // Started two seconds before midnight, the notice refuses to close, stays up and
    // responsive for five seconds, and then ends.
    void refusesCloseAndEndsAfterFiveSecondsAcrossMidnight()
    {
        VirtualClock clock(QTime(23, 59, 58));
        frmRuntimeNotice notice(clock);
        bool visibleAfterClose = false;
        int repaintsSeen = 0;
        Timer attempt(clock, 1000, true);
        connect(&attempt, &Timer::tick, this, [&] {
            attempt.setEnabled(false);
            notice.close();
            visibleAfterClose = notice.isVisible();
        });
        Timer watch(clock, 500, true);
        connect(&watch, &Timer::tick, this, [&] {
            if (notice.isVisible())
                ++repaintsSeen;
        });
        notice.run();
        clock.advance(4999);
        QVERIFY(notice.isVisible());
        clock.advance(1);
        QVERIFY(visibleAfterClose);
        QCOMPARE(clock.tickCount(), 5000);
        QCOMPARE(repaintsSeen, 10);
        QVERIFY(!notice.isVisible());
        QCOMPARE(clock.timeOfDay(), QTime(0, 0, 3));
    }
};

QTEST_MAIN(tst_frmRuntimeNotice)
#include "tst_frmruntimenotice.moc"
