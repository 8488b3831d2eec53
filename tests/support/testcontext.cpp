#include "support/testcontext.h"

#include "connection/simulatedline.h"
#include "shell/xdgautostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

TestContext::TestContext()
{
    // The program folder starts with the icons and sounds the build puts next to the binaries.
    const QDir built(QCoreApplication::applicationDirPath());
    const QDir program(QDir(m_dir.path()).filePath(QStringLiteral("program")));
    program.mkpath(QStringLiteral("."));
    const QStringList resources{QStringLiteral("*.ico"), QStringLiteral("*.wav")};
    for (const QString &file : built.entryList(resources, QDir::Files))
        QFile::copy(built.filePath(file), program.filePath(file));
    reopen();
}

TestContext::~TestContext()
{
    resumeEndedWaits();
}

// The waits of forms a test has destroyed ended with them, and their coroutines' resumptions
// are posted to the clock: they run now (and end at once) instead of dying with the clock and
// leaving the coroutine frames behind.
void TestContext::resumeEndedWaits()
{
    if (m_clock)
        QCoreApplication::sendPostedEvents(m_clock, QEvent::MetaCall);
}

QString TestContext::settingsPath() const
{
    return m_dir.filePath(QStringLiteral("config/Brisvane/Brisvane.ini"));
}

QString TestContext::autostartFolder() const
{
    return m_dir.filePath(QStringLiteral("config/autostart"));
}

void TestContext::reopen()
{
    resumeEndedWaits();
    m_context.reset();
    auto clock = std::make_unique<VirtualClock>();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    m_clock = clock.get();
    m_dialogs = dialogs.get();
    AppPaths paths(QDir(m_dir.path()).filePath(QStringLiteral("program")),
        QDir(m_dir.path()).filePath(QStringLiteral("data/Brisvane")));
    m_context = std::make_unique<AppContext>(std::move(paths), std::move(clock),
        std::make_unique<SettingsStore>(settingsPath()), std::move(dialogs));
    auto sounds = std::make_unique<RecordingSoundPlayer>();
    m_sounds = sounds.get();
    m_context->setSounds(std::move(sounds));
    auto notifier = std::make_unique<RecordingNotifier>();
    m_notifier = notifier.get();
    m_context->setNotifier(std::move(notifier));
    auto programs = std::make_unique<RecordingProgramLauncher>();
    m_programs = programs.get();
    m_context->setPrograms(std::move(programs));
    m_context->setAutostart(
        std::make_unique<XdgAutostart>(autostartFolder(), QStringLiteral("/usr/bin/bvane")));
    useDialUpEntries(SimulatedLine::standardEntries());
}

void TestContext::useDialUpEntries(const QList<SimulatedLine::Entry> &entries)
{
    auto line = std::make_unique<SimulatedLine>(*m_clock, entries);
    m_line = line.get();
    m_context->setDialUpService(std::move(line));
}
