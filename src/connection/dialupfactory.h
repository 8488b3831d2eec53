#pragma once

#include <QString>

#include <memory>

class Clock;
class DialUpService;
class SettingsStore;

namespace DialUpFactory {
// The service named by the "DialUp"/"Service" setting: "networkmanager", "pppd", "simulated",
// or "auto" (the default): NetworkManager when it answers on the system bus, else pppd when it
// has peers, else the simulated line.
std::unique_ptr<DialUpService> create(const SettingsStore &settings, Clock &clock);
std::unique_ptr<DialUpService> create(const QString &kind, Clock &clock);
} // namespace DialUpFactory
