#pragma once

#include <memory>

class AppContext;
class AppPaths;
class QIcon;

namespace Startup {
// The context of the running program: real clock, the user's settings file, Qt dialogs.
std::unique_ptr<AppContext> makeApplicationContext();
// The program's icon in every size its icon theme folder holds (the windows' icon).
QIcon programIcon(const AppPaths &paths);
// Tells the user, once, when the settings file could not be used.
void reportSettingsProblem(AppContext &context);
} // namespace Startup
