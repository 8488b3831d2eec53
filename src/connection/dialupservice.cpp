#include "connection/dialupservice.h"

DialUpService::~DialUpService() = default;

bool DialUpService::isConnected(const QString &entry) const
{
    const LineStatus line = status();
    if (!line.connected)
        return false;
    return line.viaLogon || entry.isEmpty() || line.entry == entry;
}
