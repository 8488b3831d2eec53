#include "connection/dialupfactory.h"

#include "connection/networkmanagerline.h"
#include "connection/pppdline.h"
#include "connection/simulatedline.h"
#include "settings/settingsstore.h"

namespace DialUpFactory {

std::unique_ptr<DialUpService> create(const SettingsStore &settings, Clock &clock)
{
    Platform platform;
    platform.modem = settings.get(Keys::DialUpModem, platform.modem).trimmed();
    return create(settings.get(Keys::DialUpService, QStringLiteral("auto")).trimmed().toLower(),
        clock, platform);
}

std::unique_ptr<DialUpService> create(const QString &kind, Clock &clock)
{
    return create(kind, clock, Platform());
}

std::unique_ptr<DialUpService> create(const QString &kind, Clock &clock, const Platform &platform)
{
    const bool automatic = kind != QLatin1String("networkmanager") && kind != QLatin1String("pppd")
        && kind != QLatin1String("simulated");
    if (kind == QLatin1String("networkmanager")
        || (automatic && NetworkManagerLine::answers(platform.bus)))
        return std::make_unique<NetworkManagerLine>(platform.bus);
    if (kind == QLatin1String("pppd") || (automatic && PppdLine::hasPeers(platform.peersDir)))
        return std::make_unique<PppdLine>(clock, PppdOptions{platform.peersDir, platform.modem});
    return std::make_unique<SimulatedLine>(clock);
}

} // namespace DialUpFactory
