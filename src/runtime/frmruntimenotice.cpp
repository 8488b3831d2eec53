#include "runtime/frmruntimenotice.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

frmRuntimeNotice::frmRuntimeNotice(Clock &clock, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_end(clock)
    , Image1(new QLabel(this))
    , Label1(new QLabel(tr("Installing Quorvex...Please Wait"), this))
{
    setObjectName(QStringLiteral("frmRuntimeNotice"));
    setWindowTitle(tr("Quorvex"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Image1->setPixmap(picture());

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 18, 24, 18);
    layout->setSpacing(16);
    layout->addWidget(Image1);
    layout->addWidget(Label1);
    setFixedSize(sizeHint());
}

void frmRuntimeNotice::run()
{
    connect(&m_end, &Timer::tick, this, [this] {
        m_end.setEnabled(false);
        m_finished = true;
        close();
        Q_EMIT finished();
    });
    show();
    m_end.setProperty("clockTrailing", true); // after the ticks of its last moment
    m_end.setInterval(kNoticeSeconds * 1000);
    m_end.setEnabled(true);
}

void frmRuntimeNotice::closeEvent(QCloseEvent *event)
{
    if (m_finished)
        event->accept();
    else
        event->ignore();
}

// A parcel being unpacked: drawn here so that the program ships no picture files.
QPixmap frmRuntimeNotice::picture()
{
    QPixmap pixmap(48, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x5a, 0x3d, 0x1e), 2));
    p.setBrush(QColor(0xc8, 0x9b, 0x5c));
    p.drawRect(QRectF(7, 18, 34, 24));
    p.setBrush(QColor(0xe0, 0xb8, 0x7a));
    p.drawPolygon(QPolygonF({QPointF(7, 18), QPointF(14, 8), QPointF(34, 8), QPointF(41, 18)}));
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xb5), 3));
    p.drawLine(QPointF(24, 2), QPointF(24, 14));
    p.drawLine(QPointF(19, 8), QPointF(24, 14));
    p.drawLine(QPointF(29, 8), QPointF(24, 14));
    return pixmap;
}
