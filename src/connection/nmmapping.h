#pragma once

#include "connection/dialupservice.h"

#include <QMap>
#include <QString>
#include <QVariantMap>

#include <optional>

// What NetworkManager's numbers mean to our line: its device states become the steps of a
// dial, and the reason a device gives for failing decides how the dial ends.
namespace NmMapping {

// NetworkManager's device states (NMDeviceState).
namespace DeviceState {
constexpr uint Unknown = 0;
constexpr uint Unmanaged = 10;
constexpr uint Unavailable = 20;
constexpr uint Disconnected = 30;
constexpr uint Prepare = 40;
constexpr uint Config = 50;
constexpr uint NeedAuth = 60;
constexpr uint IpConfig = 70;
constexpr uint IpCheck = 80;
constexpr uint Secondaries = 90;
constexpr uint Activated = 100;
constexpr uint Deactivating = 110;
constexpr uint Failed = 120;
} // namespace DeviceState

// The device reasons (NMDeviceStateReason) a modem dial ends with.
namespace Reason {
constexpr uint ModemBusy = 23;
constexpr uint ModemNoDialTone = 24;
constexpr uint ModemNoCarrier = 25;
constexpr uint ModemDialTimeout = 26;
} // namespace Reason

// The states of an active connection (NMActiveConnectionState).
namespace ActiveState {
constexpr uint Unknown = 0;
constexpr uint Activating = 1;
constexpr uint Activated = 2;
constexpr uint Deactivating = 3;
constexpr uint Deactivated = 4;
} // namespace ActiveState

struct Step {
    int code;
    QString text;
};

// The step a device state stands for while dialling; none for the states that are not a step
// forward (unmanaged, disconnected, deactivating, failed).
std::optional<Step> stepForDeviceState(uint state);
// The text a dial ends with when its device fails for `reason`: the busy text for a busy modem,
// "Disconnected" for every other reason.
QString endTextForReason(uint reason);
// Where a profile of this connection type goes in the entry list: the dial-up-like types
// first (gsm, cdma, pppoe, bluetooth, adsl), every other type after them.
int typeRank(const QString &type);

// A modem device (DeviceType 8) and its ModemCapabilities bits.
constexpr uint ModemDeviceType = 8;
namespace ModemCapability {
constexpr uint Cdma = 0x2;
constexpr uint Gsm = 0x4;
} // namespace ModemCapability
// The profile type a modem with these capabilities dials a number with ("gsm" or "cdma");
// empty when it cannot.
QString dialTypeFor(uint modemCapabilities);
// The temporary profile of a dial with user settings: the number, user name and password in
// the `type` setting, never connecting by itself.
QMap<QString, QVariantMap> dialUpProfile(const DialRequest &request, const QString &type);
// What the state list says when NetworkManager has no modem that can dial a number.
QString noModemText();

} // namespace NmMapping
