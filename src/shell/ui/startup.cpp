#include "shell/ui/startup.h"

#include "alerts/canberrasoundplayer.h"
#include "alerts/dbusnotifier.h"
#include "clock/realclock.h"
#include "connection/dialupfactory.h"
#include "connection/dialupservice.h"
#include "programs/programlauncher.h"
#include "shell/appcontext.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/qtdialogservice.h"

#include <QObject>

namespace Startup {

std::unique_ptr<AppContext> makeApplicationContext()
{
    auto context
        = std::make_unique<AppContext>(AppPaths::forApplication(), std::make_unique<RealClock>(),
            std::make_unique<SettingsStore>(SettingsStore::defaultFilePath()),
            std::make_unique<QtDialogService>());
    context->setSounds(std::make_unique<CanberraSoundPlayer>());
    context->setNotifier(std::make_unique<DBusNotifier>(QDBusConnection::sessionBus()));
    context->setPrograms(std::make_unique<ProcessProgramLauncher>());
    context->setDialUpService(DialUpFactory::create(context->settings(), context->clock()));
    reportSettingsProblem(*context);
    return context;
}

void reportSettingsProblem(AppContext &context)
{
    SettingsStore &store = context.settings();
    if (!store.problem().isEmpty())
        context.dialogs().message(
            DialogService::Icon::Warning, QStringLiteral("Brisvane"), store.problem());
    // A write that fails later (disk full) is reported once, not at every change.
    auto reported = std::make_shared<bool>(false);
    QObject::connect(
        &store, &SettingsStore::writeFailed, &store, [&context, reported](const QString &message) {
            if (std::exchange(*reported, true))
                return;
            context.dialogs().message(
                DialogService::Icon::Warning, QStringLiteral("Brisvane"), message);
        });
}

} // namespace Startup
