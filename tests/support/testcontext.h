#pragma once

#include "clock/virtualclock.h"
#include "connection/simulatedline.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "support/recordingnotifier.h"
#include "support/recordingprogramlauncher.h"
#include "support/recordingsoundplayer.h"
#include "support/scripteddialogs.h"

#include <QTemporaryDir>

#include <memory>

// A throwaway world for one test: its own config and data folders, a virtual clock and
// scripted dialogs, a recording sound player and a recording notifier. Reopen() builds a new
// context over the same folders, as a restart would.
class TestContext
{
public:
    TestContext();
    ~TestContext();

    AppContext &context() { return *m_context; }
    VirtualClock &clock() { return *m_clock; }
    SettingsStore &settings() { return m_context->settings(); }
    ScriptedDialogs &dialogs() { return *m_dialogs; }
    RecordingSoundPlayer &sounds() { return *m_sounds; }
    RecordingProgramLauncher &programs() { return *m_programs; }
    RecordingNotifier &notifier() { return *m_notifier; }
    SimulatedLine &line() { return *m_line; }
    // Replaces the simulated line by one with these entries (none: a machine without any);
    // call before building forms on the context.
    void useDialUpEntries(const QList<SimulatedLine::Entry> &entries);
    QString settingsPath() const;
    // The autostart entry of the context's XdgAutostart goes here (made on first use).
    QString autostartFolder() const;
    QString dir() const { return m_dir.path(); }
    void reopen();

private:
    void resumeEndedWaits();

    QTemporaryDir m_dir;
    VirtualClock *m_clock = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    RecordingSoundPlayer *m_sounds = nullptr;
    RecordingProgramLauncher *m_programs = nullptr;
    RecordingNotifier *m_notifier = nullptr;
    SimulatedLine *m_line = nullptr;
    std::unique_ptr<AppContext> m_context;
};
