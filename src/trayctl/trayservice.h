#pragma once

#include "pinlib6_export.h"

#include <QIcon>
#include <QObject>
#include <QRect>
#include <QString>

// The notification area as the tray icon control sees it: one icon, added, modified and
// deleted with the contents of a notify record, and mouse activity reported back as the old
// mouse message numbers.
struct PINLIB6_EXPORT NotifyRecord {
    static constexpr int kMessageFlag = 1;
    static constexpr int kIconFlag = 2;
    static constexpr int kTipFlag = 4;
    static constexpr int kCallbackMessage = 1125;
    static constexpr int kTipLength = 64;

    quintptr window = 0;
    int iconId = 0;
    int flags = 0;
    int callbackMessage = kCallbackMessage;
    QIcon icon;
    QByteArray tip; // 8-bit, at most 64 characters

    // The tip as the shell takes it: cut at 64 characters, in the 8-bit form.
    static QByteArray shellTip(const QString &tip);
};

namespace MouseMessage {
constexpr int MouseMove = 512;
constexpr int LeftDown = 513;
constexpr int LeftUp = 514;
constexpr int LeftDoubleClick = 515;
constexpr int RightDown = 516;
constexpr int RightUp = 517;
constexpr int RightDoubleClick = 518;
constexpr int MiddleDown = 519;
constexpr int MiddleUp = 520;
constexpr int MiddleDoubleClick = 521;
} // namespace MouseMessage

class PINLIB6_EXPORT TrayService : public QObject
{
    Q_OBJECT

public:
    enum class Operation { Add = 0, Modify = 1, Delete = 2 };

    using QObject::QObject;
    ~TrayService() override;

    virtual bool notify(Operation operation, const NotifyRecord &record) = 0;
    // Where the icon sits on the screen, when the desktop tells.
    virtual QRect iconGeometry() const { return {}; }

Q_SIGNALS:
    // Mouse activity on the icon: one of the MouseMessage numbers, with the icon id.
    void mouseMessage(int message, int iconId);
};

// The desktop's tray, through QSystemTrayIcon (StatusNotifierItem or XEmbed).
class PINLIB6_EXPORT QtTrayService : public TrayService
{
    Q_OBJECT

public:
    explicit QtTrayService(QObject *parent = nullptr);
    ~QtTrayService() override;

    bool notify(Operation operation, const NotifyRecord &record) override;
    QRect iconGeometry() const override;

private:
    class QSystemTrayIcon *m_icon = nullptr;
    int m_iconId = 0;
};

// Keeps every operation with its record, for tests.
class PINLIB6_EXPORT RecordingTrayService : public TrayService
{
    Q_OBJECT

public:
    struct Call {
        Operation operation;
        NotifyRecord record;
    };

    using TrayService::TrayService;

    bool notify(Operation operation, const NotifyRecord &record) override;
    const QList<Call> &calls() const { return m_calls; }
    bool iconShown() const { return m_shown; }
    QString lastTip() const;
    void clear() { m_calls.clear(); }
    // Plays mouse activity on the icon.
    void send(int message) { Q_EMIT mouseMessage(message, 0); }

private:
    QList<Call> m_calls;
    bool m_shown = false;
};
