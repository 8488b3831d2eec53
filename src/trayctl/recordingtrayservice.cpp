#include "trayctl/recordingtrayservice.h"

#include <algorithm>
#include <utility>

namespace pinlib6 {

namespace {
bool sameIcon(const NotifyRecord &a, const NotifyRecord &b)
{
    return a.window == b.window && a.iconId == b.iconId;
}
} // namespace

bool RecordingTrayService::notify(Operation operation, const NotifyRecord &record)
{
    auto it = std::find_if(m_icons.begin(), m_icons.end(),
        [&](const NotifyRecord &icon) { return sameIcon(icon, record); });
    const bool present = it != m_icons.end();
    bool accepted = operation == Operation::Add ? !present : present;
    if (accepted) {
        switch (operation) {
        case Operation::Add: m_icons.append(record); break;
        case Operation::Delete: m_icons.erase(it); break;
        case Operation::Modify:
            if (record.flags & NotifyRecord::kMessageFlag)
                it->callbackMessage = record.callbackMessage;
            if (record.flags & NotifyRecord::kIconFlag)
                it->icon = record.icon;
            if (record.flags & NotifyRecord::kTipFlag)
                it->tip = record.tip;
            break;
        }
    }
    m_calls.append({operation, record, accepted});
    return accepted;
}

NotifyRecord RecordingTrayService::shown() const
{
    return m_icons.value(0);
}

QString RecordingTrayService::lastTip() const
{
    for (auto it = m_calls.crbegin(); it != m_calls.crend(); ++it) {
        if (it->record.flags & NotifyRecord::kTipFlag)
            return it->record.tipText();
    }
    return {};
}

bool RecordingTrayService::send(int mouseMessage)
{
    if (m_icons.isEmpty())
        return false;
    const NotifyRecord &icon = m_icons.constFirst();
    Q_EMIT trayMessage(icon.window, icon.callbackMessage, icon.iconId, mouseMessage);
    return true;
}

bool RecordingTrayService::setIconMenu(quintptr window, int iconId, QMenu *menu)
{
    const bool present = std::any_of(m_icons.cbegin(), m_icons.cend(),
        [&](const NotifyRecord &icon) { return icon.window == window && icon.iconId == iconId; });
    if (!present)
        return false;
    m_menu = menu;
    return m_hostShowsMenus && menu;
}

void RecordingTrayService::setTrayAvailable(bool available)
{
    if (std::exchange(m_available, available) != available)
        Q_EMIT trayAvailableChanged(available);
}

} // namespace pinlib6
