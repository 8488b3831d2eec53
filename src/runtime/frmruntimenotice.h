#pragma once

#include "clock/timer.h"

#include <QWidget>

class QLabel;

// The notice of the runtime installer: shows itself for five seconds and then ends. The user
// cannot close it: it has no close button and refuses close requests.
class frmRuntimeNotice : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kNoticeSeconds = 5;

    explicit frmRuntimeNotice(Clock &clock, QWidget *parent = nullptr);

    // Shows the notice and returns; five seconds later on the clock it closes and says so.
    void run();

Q_SIGNALS:
    void finished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    static QPixmap picture();

    // One-shot: the end of the notice.
    Timer m_end;
    QLabel *Image1;
    QLabel *Label1;
    bool m_finished = false;
};
