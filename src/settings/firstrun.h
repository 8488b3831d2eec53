#pragma once

class SettingsStore;

namespace FirstRun {
// True until the first-run values have been written.
bool isFirstRun(const SettingsStore &store);
// Writes the twelve first-run values, in their fixed order.
void writeDefaults(SettingsStore &store);
} // namespace FirstRun
