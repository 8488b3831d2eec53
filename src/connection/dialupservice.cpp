#include "connection/dialupservice.h"

#include "connection/interfacecounters.h"

DialUpService::~DialUpService() = default;

bool DialUpService::isConnected(const QString &entry) const
{
    const LineStatus line = status();
    if (!line.connected)
        return false;
    return line.viaLogon || entry.isEmpty() || line.entry == entry;
}

std::optional<LineCounters> DialUpService::counters() const
{
    const QString name = interfaceName();
    if (name.isEmpty())
        return std::nullopt;
    return InterfaceCounters::read(name);
}
