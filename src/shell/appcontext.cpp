#include "shell/appcontext.h"

#include "alerts/notifier.h"
#include "alerts/soundplayer.h"
#include "clock/clock.h"
#include "connection/dialupservice.h"
#include "programs/programlauncher.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/autostart.h"
#include "shell/dialogservice.h"
#include "shell/systemevents.h"

AppContext::AppContext(AppPaths paths, std::unique_ptr<Clock> clock,
    std::unique_ptr<SettingsStore> settings, std::unique_ptr<DialogService> dialogs)
    : m_paths(std::move(paths))
    , m_clock(std::move(clock))
    , m_settings(std::move(settings))
    , m_dialogs(std::move(dialogs))
    , m_model(std::make_unique<SettingsModel>(*m_settings))
    , m_passwords(std::make_unique<Passwords>(*m_model, *m_clock))
    , m_systemEvents(std::make_unique<SystemEvents>())
{ }

AppContext::~AppContext()
{
    while (!m_owned.empty())
        m_owned.pop_back();
}

SoundPlayer &AppContext::sounds() const
{
    Q_ASSERT(m_sounds);
    return *m_sounds;
}

void AppContext::setSounds(std::unique_ptr<SoundPlayer> sounds)
{
    m_sounds = std::move(sounds);
}

Notifier &AppContext::notifier() const
{
    Q_ASSERT(m_notifier);
    return *m_notifier;
}

void AppContext::setNotifier(std::unique_ptr<Notifier> notifier)
{
    m_notifier = std::move(notifier);
}

DialUpService &AppContext::dialUpService() const
{
    Q_ASSERT(m_dialUp);
    return *m_dialUp;
}

void AppContext::setDialUpService(std::unique_ptr<DialUpService> service)
{
    m_dialUp = std::move(service);
}

ProgramLauncher &AppContext::programs() const
{
    Q_ASSERT(m_programs);
    return *m_programs;
}

void AppContext::setPrograms(std::unique_ptr<ProgramLauncher> programs)
{
    m_programs = std::move(programs);
}

Autostart &AppContext::autostart() const
{
    Q_ASSERT(m_autostart);
    return *m_autostart;
}

void AppContext::setSystemEvents(std::unique_ptr<SystemEvents> events)
{
    m_systemEvents = std::move(events);
}

void AppContext::setAutostart(std::unique_ptr<Autostart> autostart)
{
    m_autostart = std::move(autostart);
}
