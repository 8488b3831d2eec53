#include "trayctl/lumenpin.h"

#include "clock/realclock.h"
#include "clock/timer.h"
#include "trayctl/lumenpinprivate.h"
#include "trayctl/pinlib6_version.h"
#include "trayctl/zoomeffect.h"
#include "trayctl/zoomwatch.h"

#include <QPixmap>

namespace pinlib6 {

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

void noMessage(const QString &) { }
} // namespace

const char *versionString()
{
    return PINLIB6_VERSION_STRING;
}

Lumenpin::Private::Private(TrayService &trayService, Clock *givenClock)
    : service(&trayService)
    , ownClock(givenClock ? nullptr : std::make_unique<RealClock>())
    , clock(givenClock ? *givenClock : *ownClock)
    , tmrFireEvent(std::make_unique<Timer>(clock, 5, false))
    , tmrAnimate(std::make_unique<Timer>(clock, 250, false))
    , tmrAfterMinimize(std::make_unique<Timer>(clock, 1, false))
    , blankIcon(makeBlankIcon())
    , message(noMessage)
    , popup(showPopup)
{ }

Lumenpin::Lumenpin(TrayService &service, Clock *clock, QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>(service, clock))
{
    connect(d->tmrFireEvent.get(), &Timer::tick, this, &Lumenpin::tmrFireEvent_Timer);
    connect(d->tmrAnimate.get(), &Timer::tick, this, &Lumenpin::tmrAnimate_Timer);
    connect(d->tmrAfterMinimize.get(), &Timer::tick, this, &Lumenpin::tmrAfterMinimize_Timer);
    // An icon that waited for the desktop's tray learns only then whether the host shows its
    // menu.
    connect(&service, &TrayService::iconMenuTaken, this, [this](quintptr window, int, bool taken) {
        if (window == hWnd() && d->iconAdded)
            d->menuShownByHost = taken && d->iconMenu;
    });
    InitProperties();
    d->changed.clear();
}

Lumenpin::~Lumenpin()
{
    ZoomWatch::removeAllOf(this);
    if (d->iconAdded)
        deleteIcon();
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
    const StdPicture icon = realIcon();
    if (!icon.isNone())
        bag.insert(kTrayIcon, icon.icon());
    if (!d->trayTip.isEmpty())
        bag.insert(kTrayTip, d->trayTip);
    if (!d->trayVisible)
        bag.insert(kTrayVisible, false);
    return bag;
}

QStringList Lumenpin::changedProperties() const
{
    return d->changed;
}

void Lumenpin::clearChangedProperties()
{
    d->changed.clear();
}

QString Lumenpin::lastError() const
{
    return d->lastError;
}

bool Lumenpin::designMode() const
{
    return d->designMode;
}

void Lumenpin::setDesignMode(bool design)
{
    d->designMode = design;
}

void Lumenpin::setZoomEffect(bool on)
{
    d->zoomEffectOn = on;
}

bool Lumenpin::menuShownByHost() const
{
    return d->menuShownByHost;
}

QIcon Lumenpin::imgBlankIcon() const
{
    return d->blankIcon;
}

void Lumenpin::markChanged(const QString &name)
{
    if (!d->changed.contains(name))
        d->changed.append(name);
}

void Lumenpin::setMessageHandler(MessageHandler handler)
{
    d->message = handler ? std::move(handler) : MessageHandler(noMessage);
}

void Lumenpin::refuse(const QString &text)
{
    d->lastError = text;
    d->message(text);
}

void Lumenpin::notifyShell(TrayService::Operation operation, int flags)
{
    if (!d->service)
        return;
    NotifyRecord record;
    record.window = hWnd();
    record.iconId = 0;
    record.flags = flags;
    record.icon = d->trayIcon.icon();
    record.tip = d->trayTip;
    d->service->notify(operation, record); // the tray's refusals are not the caller's concern
}

StdPicture Lumenpin::TrayIcon() const
{
    return d->trayIcon;
}

// The icon as the user set it: while a frame or the blink's blank is shown, the one kept to
// come back.
StdPicture Lumenpin::realIcon() const
{
    return d->animateTag.isEmpty() ? d->trayIcon : d->savedIcon;
}

void Lumenpin::setTrayIcon(const StdPicture &picture)
{
    if (!picture.isNone() && !picture.isIcon()) {
        refuse(QStringLiteral("The picture is no icon; only icons go into the tray."));
        return;
    }
    markChanged(kTrayIcon);
    if (d->animateTag.isEmpty() || picture.isNone()) {
        // No icon to come back to: the animation or the blink ends with it.
        StopAnimation();
        StopBlink();
        showPicture(picture);
    } else {
        d->savedIcon = picture;
        if (IsBlinking() && d->blinkVisible)
            showPicture(picture);
    }
    Q_EMIT TrayIconChanged();
}

// Shows a picture in the tray: the icon itself or a frame. An icon wanted in the tray that
// is not there (it was cleared) goes in again.
void Lumenpin::showPicture(const StdPicture &picture)
{
    const bool wasVisible = TrayVisible();
    d->trayIcon = picture;
    if (picture.isNone()) {
        if (d->iconAdded)
            deleteIcon();
    } else if (d->iconAdded) {
        notifyShell(TrayService::Operation::Modify, NotifyRecord::kIconFlag);
    } else if (d->trayVisible && !d->designMode && !realIcon().isNone()) {
        addIcon(); // (a blink without an icon keeps its blank out of the tray)
    }
    if (TrayVisible() != wasVisible)
        Q_EMIT TrayVisibleChanged();
}

bool Lumenpin::LoadIcon(const QString &FileName)
{
    StdPicture picture;
    QString error;
    if (!StdPicture::load(FileName, picture, error)) {
        d->lastError = error;
        return false;
    }
    d->lastError.clear();
    setTrayIcon(picture);
    return true;
}

QString Lumenpin::TrayTip() const
{
    return d->trayTip;
}

void Lumenpin::setTrayTip(const QString &tip)
{
    d->trayTip = tip;
    if (d->iconAdded)
        notifyShell(TrayService::Operation::Modify, NotifyRecord::kTipFlag);
    markChanged(kTrayTip);
    Q_EMIT TrayTipChanged();
}

bool Lumenpin::TrayVisible() const
{
    return d->trayVisible && (d->designMode || d->iconAdded);
}

void Lumenpin::setTrayVisible(bool visible)
{
    if (visible == d->trayVisible)
        return;
    if (visible && !d->designMode && !d->iconAdded) {
        if (d->trayIcon.isNone())
            return;
        addIcon();
    } else if (!visible && d->iconAdded) {
        deleteIcon();
    }
    d->trayVisible = visible;
    markChanged(kTrayVisible);
    Q_EMIT TrayVisibleChanged();
}

void Lumenpin::addIcon()
{
    if (!d->service)
        return;
    d->trayProc
        = connect(d->service.data(), &TrayService::trayMessage, this, &Lumenpin::TrayWindowProc);
    int flags = NotifyRecord::kMessageFlag | NotifyRecord::kIconFlag;
    if (!d->trayTip.isEmpty())
        flags |= NotifyRecord::kTipFlag;
    notifyShell(TrayService::Operation::Add, flags);
    d->iconAdded = true;
    if (d->iconMenu)
        d->menuShownByHost = d->service->setIconMenu(hWnd(), 0, d->iconMenu);
}

void Lumenpin::setIconMenu(QMenu *menu)
{
    d->iconMenu = menu;
    d->menuShownByHost = d->iconAdded && d->service && d->service->setIconMenu(hWnd(), 0, menu);
}

void Lumenpin::deleteIcon()
{
    notifyShell(TrayService::Operation::Delete, 0);
    disconnect(d->trayProc);
    d->iconAdded = false;
    d->menuShownByHost = false;
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

} // namespace pinlib6
