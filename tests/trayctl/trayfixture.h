#pragma once

#include "clock/virtualclock.h"
#include "trayctl/lumenpin.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QPixmap>
#include <QStringList>

// The desktop's tray hosts as a test sets them (looked at from the start).
struct ChosenTrayHosts : TrayHosts {
    bool sni = false, xembed = false;
    bool known() const override { return true; }
    bool statusNotifierHost() const override { return sni; }
    bool xembedTray() const override { return xembed; }
    void set(bool statusNotifier, bool xembedTray)
    {
        sni = statusNotifier;
        xembed = xembedTray;
        Q_EMIT changed();
    }
};

// A control on a recording tray and a virtual clock, with its information messages and its
// events written down in the order they come.
struct TrayFixture {
    VirtualClock clock;
    RecordingTrayService tray;
    Lumenpin control{tray, &clock};
    QStringList messages;
    QStringList events;

    TrayFixture()
    {
        control.setZoomEffect(false);
        control.setMessageHandler([this](const QString &text) { messages << text; });
        recordEvents();
    }

    static QIcon icon(Qt::GlobalColor colour)
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(colour);
        return QIcon(pixmap);
    }

    QList<NotifyRecord> records(TrayService::Operation operation) const
    {
        QList<NotifyRecord> found;
        for (const RecordingTrayService::Call &call : tray.calls()) {
            if (call.operation == operation)
                found << call.record;
        }
        return found;
    }

    // The icons the tray was told to show, in order.
    QList<qint64> iconKeys() const
    {
        QList<qint64> keys;
        for (const RecordingTrayService::Call &call : tray.calls()) {
            if (call.record.flags & NotifyRecord::kIconFlag)
                keys << call.record.icon.cacheKey();
        }
        return keys;
    }

    void showIcon(const QIcon &picture)
    {
        control.setTrayIcon(picture);
        control.setTrayVisible(true);
        tray.clear();
    }

private:
    void recordEvents()
    {
        Lumenpin *c = &control;
        const auto note = [this](const QString &name) { return [this, name] { events << name; }; };
        const auto button = [this](const QString &name) {
            return [this, name](int b) { events << QStringLiteral("%1(%2)").arg(name).arg(b); };
        };
        QObject::connect(c, &Lumenpin::AfterMinimize, c, note(QStringLiteral("AfterMinimize")));
        QObject::connect(c, &Lumenpin::AnyClick, c, note(QStringLiteral("AnyClick")));
        QObject::connect(c, &Lumenpin::AnyDblClick, c, note(QStringLiteral("AnyDblClick")));
        QObject::connect(c, &Lumenpin::Click, c, note(QStringLiteral("Click")));
        QObject::connect(c, &Lumenpin::DblClick, c, note(QStringLiteral("DblClick")));
        QObject::connect(c, &Lumenpin::LeftClick, c, note(QStringLiteral("LeftClick")));
        QObject::connect(c, &Lumenpin::LeftDblClick, c, note(QStringLiteral("LeftDblClick")));
        QObject::connect(c, &Lumenpin::MiddleClick, c, note(QStringLiteral("MiddleClick")));
        QObject::connect(c, &Lumenpin::MiddleDblClick, c, note(QStringLiteral("MiddleDblClick")));
        QObject::connect(c, &Lumenpin::MouseDown, c, button(QStringLiteral("MouseDown")));
        QObject::connect(c, &Lumenpin::MouseMove, c, note(QStringLiteral("MouseMove")));
        QObject::connect(c, &Lumenpin::MouseUp, c, button(QStringLiteral("MouseUp")));
        QObject::connect(c, &Lumenpin::RightClick, c, note(QStringLiteral("RightClick")));
        QObject::connect(c, &Lumenpin::RightDblClick, c, note(QStringLiteral("RightDblClick")));
    }
};
