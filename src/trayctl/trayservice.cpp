#include "trayctl/trayservice.h"

#include <QSystemTrayIcon>

QByteArray NotifyRecord::shellTip(const QString &tip)
{
    return tip.left(kTipLength).toLatin1();
}

TrayService::~TrayService() = default;

QtTrayService::QtTrayService(QObject *parent)
    : TrayService(parent)
    , m_icon(new QSystemTrayIcon(this))
{
    // The desktop reports activations, not button presses: each becomes the messages a
    // press and release would have given.
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        using namespace MouseMessage;
        switch (r) {
        case QSystemTrayIcon::Trigger:
            Q_EMIT mouseMessage(LeftDown, m_iconId);
            Q_EMIT mouseMessage(LeftUp, m_iconId);
            break;
        case QSystemTrayIcon::DoubleClick: Q_EMIT mouseMessage(LeftDoubleClick, m_iconId); break;
        case QSystemTrayIcon::Context:
            Q_EMIT mouseMessage(RightDown, m_iconId);
            Q_EMIT mouseMessage(RightUp, m_iconId);
            break;
        case QSystemTrayIcon::MiddleClick:
            Q_EMIT mouseMessage(MiddleDown, m_iconId);
            Q_EMIT mouseMessage(MiddleUp, m_iconId);
            break;
        case QSystemTrayIcon::Unknown: break;
        }
    });
}

QtTrayService::~QtTrayService() = default;

bool QtTrayService::notify(Operation operation, const NotifyRecord &record)
{
    m_iconId = record.iconId;
    if (operation == Operation::Delete) {
        m_icon->hide();
        return true;
    }
    if (record.flags & NotifyRecord::kIconFlag)
        m_icon->setIcon(record.icon);
    if (record.flags & NotifyRecord::kTipFlag)
        m_icon->setToolTip(QString::fromLatin1(record.tip));
    if (operation == Operation::Add)
        m_icon->show();
    return QSystemTrayIcon::isSystemTrayAvailable() || operation != Operation::Add;
}

QRect QtTrayService::iconGeometry() const
{
    return m_icon->geometry();
}

bool RecordingTrayService::notify(Operation operation, const NotifyRecord &record)
{
    m_calls.append({operation, record});
    if (operation == Operation::Add)
        m_shown = true;
    else if (operation == Operation::Delete)
        m_shown = false;
    return true;
}

QString RecordingTrayService::lastTip() const
{
    for (auto it = m_calls.crbegin(); it != m_calls.crend(); ++it) {
        if (it->record.flags & NotifyRecord::kTipFlag)
            return QString::fromLatin1(it->record.tip);
    }
    return {};
}
