#pragma once

#include <memory>

class AppContext;

namespace Startup {
// The context of the running program: real clock, the user's settings file, Qt dialogs.
std::unique_ptr<AppContext> makeApplicationContext();
// Tells the user, once, when the settings file could not be used.
void reportSettingsProblem(AppContext &context);
} // namespace Startup
