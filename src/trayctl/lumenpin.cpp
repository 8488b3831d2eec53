#include "trayctl/lumenpin.h"

#include "clock/realclock.h"
#include "clock/timer.h"
#include "trayctl/zoomeffect.h"
#include "trayctl/zoomwatch.h"

#include <QMessageBox>
#include <QPixmap>

namespace {
const QString kTrayIcon = QStringLiteral("TrayIcon");
const QString kTrayTip = QStringLiteral("TrayTip");
const QString kTrayVisible = QStringLiteral("TrayVisible");

QIcon makeBlankIcon()
{
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

void showInformation(const QString &text)
{
    QMessageBox::information(nullptr, QStringLiteral("pinlib6"), text);
}
} // namespace

Lumenpin::Lumenpin(TrayService &service, Clock *clock, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_ownClock(clock ? nullptr : std::make_unique<RealClock>())
    , m_clock(clock ? *clock : *m_ownClock)
    , tmrFireEvent(std::make_unique<Timer>(m_clock, 5, false))
    , tmrAnimate(std::make_unique<Timer>(m_clock, 250, false))
    , tmrAfterMinimize(std::make_unique<Timer>(m_clock, 1, false))
    , m_blankIcon(makeBlankIcon())
    , m_message(showInformation)
    , m_popup(showPopup)
{
    connect(tmrFireEvent.get(), &Timer::tick, this, &Lumenpin::tmrFireEvent_Timer);
    connect(tmrAnimate.get(), &Timer::tick, this, &Lumenpin::tmrAnimate_Timer);
    connect(tmrAfterMinimize.get(), &Timer::tick, this, &Lumenpin::tmrAfterMinimize_Timer);
    // An icon that waited for the desktop's tray learns only then whether the host shows its
    // menu.
    connect(
        &m_service, &TrayService::iconMenuTaken, this, [this](quintptr window, int, bool taken) {
            if (window == hWnd() && m_iconAdded)
                m_menuShownByHost = taken && m_iconMenu;
        });
    InitProperties();
    m_changed.clear();
}

Lumenpin::~Lumenpin()
{
    ZoomWatch::removeAllOf(this);
    if (m_iconAdded)
        setTrayVisible(false);
}

void Lumenpin::InitProperties()
{
    setTrayIcon(StdPicture());
    setTrayTip(QString());
    setTrayVisible(true);
}

void Lumenpin::ReadProperties(const QVariantMap &bag)
{
    const QVariant icon = bag.value(kTrayIcon);
    if (icon.canConvert<StdPicture>())
        setTrayIcon(icon.value<StdPicture>());
    else if (icon.typeId() == QMetaType::QPixmap || icon.typeId() == QMetaType::QImage)
        setTrayIcon(StdPicture::fromBitmap(icon.value<QPixmap>()));
    else
        setTrayIcon(icon.value<QIcon>());
    setTrayTip(bag.value(kTrayTip, QString()).toString());
    setTrayVisible(bag.value(kTrayVisible, true).toBool());
}

QVariantMap Lumenpin::WriteProperties() const
{
    QVariantMap bag;
    if (!m_trayIcon.isNone())
        bag.insert(kTrayIcon, m_trayIcon.icon());
    if (!m_trayTip.isEmpty())
        bag.insert(kTrayTip, m_trayTip);
    if (!m_trayVisible)
        bag.insert(kTrayVisible, false);
    return bag;
}

void Lumenpin::markChanged(const QString &name)
{
    if (!m_changed.contains(name))
        m_changed.append(name);
}

void Lumenpin::setMessageHandler(MessageHandler handler)
{
    m_message = handler ? std::move(handler) : MessageHandler(showInformation);
}

void Lumenpin::invalidIcon()
{
    m_message(QStringLiteral("The image you have selected is not a valid Windows icon (ICO "
                             "file).\nOnly Windows icons may be placed in the system tray."));
}

void Lumenpin::notifyShell(TrayService::Operation operation, int flags)
{
    NotifyRecord record;
    record.window = hWnd();
    record.iconId = 0;
    record.flags = flags;
    record.icon = m_trayIcon.icon();
    record.tip = NotifyRecord::shellTip(m_trayTip);
    m_service.notify(operation, record); // the tray's refusals are not the caller's concern
}

void Lumenpin::setTrayIcon(const StdPicture &picture)
{
    if (picture.isNone()) {
        m_trayIcon = picture;
        markChanged(kTrayIcon);
        if (m_iconAdded)
            deleteIcon();
        return;
    }
    if (!picture.isIcon()) {
        invalidIcon();
        return;
    }
    m_trayIcon = picture;
    markChanged(kTrayIcon);
    if (m_trayVisible)
        notifyShell(TrayService::Operation::Modify, NotifyRecord::kIconFlag);
}

bool Lumenpin::LoadIcon(const QString &FileName)
{
    StdPicture picture;
    if (!StdPicture::load(FileName, picture, m_lastError))
        return false;
    m_lastError.clear();
    setTrayIcon(picture);
    return true;
}

void Lumenpin::setTrayTip(const QString &tip)
{
    m_trayTip = tip;
    if (m_trayVisible)
        notifyShell(TrayService::Operation::Modify, NotifyRecord::kTipFlag);
    markChanged(kTrayTip);
}

void Lumenpin::setTrayVisible(bool visible)
{
    if (visible == m_trayVisible)
        return;
    if (visible && !m_designMode && !m_iconAdded) {
        if (m_trayIcon.isNone())
            return;
        addIcon();
    } else if (!visible && m_iconAdded) {
        deleteIcon();
    }
    m_trayVisible = visible;
    markChanged(kTrayVisible);
}

void Lumenpin::addIcon()
{
    m_trayProc = connect(&m_service, &TrayService::trayMessage, this, &Lumenpin::TrayWindowProc);
    int flags = NotifyRecord::kMessageFlag | NotifyRecord::kIconFlag;
    if (!m_trayTip.isEmpty())
        flags |= NotifyRecord::kTipFlag;
    notifyShell(TrayService::Operation::Add, flags);
    m_iconAdded = true;
    if (m_iconMenu)
        m_menuShownByHost = m_service.setIconMenu(hWnd(), 0, m_iconMenu);
}

void Lumenpin::setIconMenu(QMenu *menu)
{
    m_iconMenu = menu;
    m_menuShownByHost = m_iconAdded && m_service.setIconMenu(hWnd(), 0, menu);
}

void Lumenpin::deleteIcon()
{
    notifyShell(TrayService::Operation::Delete, 0);
    disconnect(m_trayProc);
    m_iconAdded = false;
    m_menuShownByHost = false;
}

QVariant Lumenpin::TrayShow()
{
    setTrayVisible(true);
    return {};
}

QVariant Lumenpin::TrayHide()
{
    setTrayVisible(false);
    return {};
}
