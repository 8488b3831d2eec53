#include "connection/dialupfactory.h"

#include "connection/simulatedline.h"
#include "shell/settings/settingsstore.h"

namespace DialUpFactory {

std::unique_ptr<DialUpService> create(const SettingsStore &settings, Clock &clock)
{
    return create(settings.get(Keys::DialUpService, QStringLiteral("auto")).trimmed().toLower(),
                  clock);
}

std::unique_ptr<DialUpService> create(const QString &kind, Clock &clock)
{
    Q_UNUSED(kind)
    return std::make_unique<SimulatedLine>(clock);
}

} // namespace DialUpFactory
