#include "shell/ui/updown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(QWidget *parent)
    : QWidget(parent)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [button, arrow] : {std::pair{m_up, Qt::UpArrow}, std::pair{m_down, Qt::DownArrow}}) {
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFixedSize(16, 11);
        layout->addWidget(button);
        button->installEventFilter(this);
    }
    m_up->setAccessibleName(tr("Up"));
    m_down->setAccessibleName(tr("Down"));
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void UpDown::setBuddy(QLabel *label)
{
    m_buddy = label;
    const QString what = accessibleName();
    if (what.isEmpty())
        return;
    m_up->setAccessibleDescription(tr("Raises %1 by one").arg(what));
    m_down->setAccessibleDescription(tr("Lowers %1 by one").arg(what));
    if (m_buddy)
        m_buddy->setAccessibleDescription(what);
}

void UpDown::setRange(int minimum, int maximum)
{
    m_min = minimum;
    m_max = qMax(minimum, maximum);
}

void UpDown::step(int delta)
{
    if (!m_buddy || !isEnabled())
        return;
    bool ok = false;
    const int current = m_buddy->text().trimmed().toInt(&ok);
    const int next = ok ? qBound(m_min, current + delta, m_max) : m_min;
    if (ok && next == current)
        return;
    m_buddy->setText(QString::number(next));
    Q_EMIT Change();
}

void UpDown::changeEvent(QEvent *event)
{
    // The buddy greys out with its spinner.
    if (event->type() == QEvent::EnabledChange && m_buddy)
        m_buddy->setEnabled(isEnabled());
    QWidget::changeEvent(event);
}

// The arrow keys step the value from either button, as they do in a spin box.
bool UpDown::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
