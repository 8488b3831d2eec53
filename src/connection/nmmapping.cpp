#include "connection/nmmapping.h"

#include "connection/dialupservice.h"

#include <QStringList>
#include <QUuid>

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

QString dialTypeFor(uint modemCapabilities)
{
    if (modemCapabilities & ModemCapability::Gsm)
        return QStringLiteral("gsm");
    if (modemCapabilities & ModemCapability::Cdma)
        return QStringLiteral("cdma");
    return {};
}

QMap<QString, QVariantMap> dialUpProfile(const DialRequest &request, const QString &type)
{
    return {
        {QStringLiteral("connection"),
            {{QStringLiteral("id"), QStringLiteral("Brisvane dial-up")},
                {QStringLiteral("type"), type},
                {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
                {QStringLiteral("autoconnect"), false}}},
        {type,
            {{QStringLiteral("number"), request.phoneNumber},
                {QStringLiteral("username"), request.logonName},
                {QStringLiteral("password"), request.logonPassword}}},
        {QStringLiteral("ipv4"), {{QStringLiteral("method"), QStringLiteral("auto")}}},
        {QStringLiteral("ipv6"), {{QStringLiteral("method"), QStringLiteral("ignore")}}},
    };
}

QString noModemText()
{
    return QStringLiteral("NetworkManager has no modem that can dial a number (a gsm or cdma "
                          "modem): dialling with user settings needs one");
}

} // namespace NmMapping
