#pragma once

class SettingsStore;

// The first-run form: loading it writes the first-run values. It shows nothing.
namespace frmSettings {
void Load(SettingsStore &store);
}
