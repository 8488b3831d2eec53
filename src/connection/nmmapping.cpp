#include "connection/nmmapping.h"

#include "connection/dialupservice.h"

#include <QStringList>

namespace NmMapping {

std::optional<Step> stepForDeviceState(uint state)
{
    using namespace DialState;
    switch (state) {
    case DeviceState::Prepare: return Step{PortOpened, QStringLiteral("Preparing the device")};
    case DeviceState::Config: return Step{ConnectDevice, QStringLiteral("Connecting")};
    case DeviceState::NeedAuth:
        return Step{Authenticate, QStringLiteral("Verifying user name and password")};
    case DeviceState::IpConfig:
        return Step{AuthProject, QStringLiteral("Getting an address on the network")};
    case DeviceState::IpCheck:
        return Step{Authenticated, QStringLiteral("Logged on to network, checking the line")};
    case DeviceState::Secondaries:
        return Step{Projected, QStringLiteral("Starting the connections that depend on it")};
    case DeviceState::Activated: return Step{Connected, QStringLiteral("Connected")};
    default: return std::nullopt;
    }
}

QString endTextForReason(uint reason)
{
    if (reason == Reason::ModemBusy)
        return DialState::LineBusyText;
    return DialState::FailedText;
}

int typeRank(const QString &type)
{
    static const QStringList dialUpTypes{QStringLiteral("gsm"), QStringLiteral("cdma"),
        QStringLiteral("pppoe"), QStringLiteral("bluetooth"), QStringLiteral("adsl")};
    const qsizetype rank = dialUpTypes.indexOf(type);
    return rank < 0 ? int(dialUpTypes.size()) : int(rank);
}

} // namespace NmMapping
