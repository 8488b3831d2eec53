#pragma once

#include "shell/apppaths.h"

#include <QObject>

#include <memory>
#include <vector>

class Autostart;
class DialUpService;
class DialogService;
class Notifier;
class Passwords;
class ProgramLauncher;
class SettingsModel;
class SettingsStore;
class SoundPlayer;
class SystemEvents;

// Owns the long-lived pieces of the program: the settings store, the clock, the platform
// layers and the long-lived forms. Forms receive it by reference; nothing else is global.
// Tests build a fresh context for each test, with a virtual clock and scripted fakes.
class AppContext
{
public:
    AppContext(AppPaths paths, std::unique_ptr<Clock> clock,
        std::unique_ptr<SettingsStore> settings, std::unique_ptr<DialogService> dialogs);
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    const AppPaths &paths() const { return m_paths; }
    Clock &clock() const { return *m_clock; }
    SettingsStore &settings() const { return *m_settings; }
    // The typed settings over the store: what controllers read and windows load and save.
    SettingsModel &model() const { return *m_model; }
    DialogService &dialogs() const { return *m_dialogs; }
    // Where the passwords are kept (the desktop keyring or the settings file): every reader
    // and writer of a password goes through it. It uses the file until given a keyring.
    Passwords &passwords() const { return *m_passwords; }
    // The alert sound player; every context is given one before forms use it.
    SoundPlayer &sounds() const;
    void setSounds(std::unique_ptr<SoundPlayer> sounds);
    // Desktop notifications; every context is given a notifier before forms use it.
    Notifier &notifier() const;
    void setNotifier(std::unique_ptr<Notifier> notifier);
    // Starts the user's programs.
    ProgramLauncher &programs() const;
    void setPrograms(std::unique_ptr<ProgramLauncher> programs);
    // The dial-up line every mRAS of the program sees.
    DialUpService &dialUpService() const;
    void setDialUpService(std::unique_ptr<DialUpService> service);
    // Whether the program starts at log-in.
    Autostart &autostart() const;
    void setAutostart(std::unique_ptr<Autostart> autostart);

    // Sleep, wake and network changes; until one is set, one that hears nothing.
    SystemEvents &systemEvents() const { return *m_systemEvents; }
    void setSystemEvents(std::unique_ptr<SystemEvents> events);

    // Takes ownership of a long-lived object (a form, a platform layer); such objects are
    // destroyed before the services above, last adopted first.
    template <typename T> T *adopt(std::unique_ptr<T> object)
    {
        T *raw = object.get();
        m_owned.emplace_back(std::move(object));
        return raw;
    }

private:
    AppPaths m_paths;
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<DialogService> m_dialogs;
    std::unique_ptr<SettingsModel> m_model;
    std::unique_ptr<Passwords> m_passwords;
    std::unique_ptr<SoundPlayer> m_sounds;
    std::unique_ptr<Notifier> m_notifier;
    std::unique_ptr<DialUpService> m_dialUp;
    std::unique_ptr<ProgramLauncher> m_programs;
    std::unique_ptr<Autostart> m_autostart;
    std::unique_ptr<SystemEvents> m_systemEvents;
    std::vector<std::unique_ptr<QObject>> m_owned;
};
