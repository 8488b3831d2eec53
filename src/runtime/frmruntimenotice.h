#pragma once

#include <QWidget>

class Clock;
class QLabel;

// The notice of the runtime installer: shows itself for five seconds and then ends. The user
// cannot close it: it has no close button and refuses close requests.
class frmRuntimeNotice : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kNoticeSeconds = 5;

    explicit frmRuntimeNotice(Clock &clock, QWidget *parent = nullptr);

    // Shows the notice, keeps it responsive for five seconds on the clock, then closes it.
    void run();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    static QPixmap picture();

    Clock &m_clock;
    QLabel *Image1;
    QLabel *Label1;
    bool m_finished = false;
};
