#pragma once

class SettingsModel;

// What the user allowed a mail slot's server without TLS, and whether the slot has logged on
// to it with TLS before. Each answer holds for the server text it was given for: a slot whose
// POP/Domain text changes is asked again, and starts without a TLS history.
namespace SlotSecurity {

bool clearTextAllowed(const SettingsModel &settings, int slot);
bool clearTextDeclined(const SettingsModel &settings, int slot);
bool tlsBefore(const SettingsModel &settings, int slot);
// The user's answer to "Send the password unencrypted?" for the slot's server.
void answerClearText(SettingsModel &settings, int slot, bool allowed);
// The slot logged on; with TLS, a later log-on to the same server without it is refused.
void loggedOn(SettingsModel &settings, int slot, bool withTls);

} // namespace SlotSecurity
