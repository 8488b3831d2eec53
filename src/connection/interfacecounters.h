#pragma once

#include "connection/dialupservice.h"

#include <optional>

// The kernel's byte counters of a network interface, as /sys/class/net shows them.
namespace InterfaceCounters {

inline const QString SysClassNet = QStringLiteral("/sys/class/net");

// rx_bytes and tx_bytes of `interface`; nullopt when the interface is not there (gone with
// its line) or its name is not one (a name with a slash never leaves the folder).
std::optional<LineCounters> read(const QString &interface, const QString &root = SysClassNet);

} // namespace InterfaceCounters
