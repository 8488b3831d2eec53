#pragma once

#include <QRect>
#include <QWidget>

#include <memory>

namespace pinlib6 {

class Clock;
class Timer;

// The zoom's animated rectangle: an outline with a caption bar that travels from one screen
// rectangle to another in a few steps on the control's clock. It takes no input and no focus
// and does not hold up the caller; a new zoom takes over from one still running.
class ZoomEffect : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSteps = 8;
    static constexpr int kStepMs = 20;

    explicit ZoomEffect(Clock &clock);
    ~ZoomEffect() override;

    void play(const QRect &from, const QRect &to);
    bool running() const;
    // Whether the platform lets a window be placed on the screen (not so on Wayland).
    static bool supported();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void step();

    std::unique_ptr<Timer> m_timer;
    QRect m_from;
    QRect m_to;
    int m_step = 0;
};

} // namespace pinlib6
