#pragma once

class MenuTools;
class SettingsModel;

// The popup menu's mail tools: the slot tools and All Accounts follow the slot count, the
// account names, the mail switch and the line.
namespace MailTools {
constexpr int kSlots = 5;
// The tools for mail checking switched off or on.
void applyMailSwitch(MenuTools &menu, bool disabled);
// The tools for `count` slots (0: none); usable over a `live` line only.
void applySlotTools(MenuTools &menu, int count, bool live);
// Both of the above from the settings.
void apply(MenuTools &menu, const SettingsModel &settings, bool lineUp);
// Each slot tool named as its account (one without a name keeps its caption).
void applyCaptions(MenuTools &menu, const SettingsModel &settings);
} // namespace MailTools
