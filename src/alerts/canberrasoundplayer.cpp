#include "alerts/canberrasoundplayer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

#include <canberra.h>
#include <dlfcn.h>
#include <optional>
#include <type_traits>

namespace {
// Every sound is played under this id, so one cancel cuts off whatever plays.
constexpr uint32_t soundId = 1;
constexpr const char *defaultEvent = "bell";

// libcanberra and the codec libraries it brings are loaded at the first sound, not with the
// program: the calls are looked up by name, typed after the library's own header.
struct Canberra {
    decltype(&ca_context_create) create = nullptr;
    decltype(&ca_context_change_props) changeProps = nullptr;
    decltype(&ca_context_open) open = nullptr;
    decltype(&ca_context_destroy) destroy = nullptr;
    decltype(&ca_context_cancel) cancel = nullptr;
    decltype(&ca_context_playing) playing = nullptr;
    decltype(&ca_context_play) play = nullptr;
    QList<QByteArray> drivers; // the output drivers' files, in a folder beside the library
};

// libcanberra's output drivers: libcanberra-<version>/libcanberra-<driver>.so beside it.
QList<QByteArray> driverFiles(const QString &libraryFolder)
{
    QList<QByteArray> files;
    const QDir folder(libraryFolder);
    for (const QString &drivers :
        folder.entryList({QStringLiteral("libcanberra-*")}, QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir driverFolder(folder.filePath(drivers));
        for (const QString &driver :
            driverFolder.entryList({QStringLiteral("libcanberra-*.so")}, QDir::Files))
            files.append(QFile::encodeName(driverFolder.filePath(driver)));
    }
    return files;
}

// The library's calls, or nullptr where it cannot be loaded; looked up once.
const Canberra *canberra()
{
    static const std::optional<Canberra> loaded = []() -> std::optional<Canberra> {
        QLibrary library(QStringLiteral("canberra"), 0);
        if (!library.load())
            return std::nullopt;
        const auto find = [&library](auto &call, const char *name) {
            call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(library.resolve(name));
            return call != nullptr;
        };
        Canberra api;
        if (find(api.create, "ca_context_create")
            && find(api.changeProps, "ca_context_change_props") && find(api.open, "ca_context_open")
            && find(api.destroy, "ca_context_destroy") && find(api.cancel, "ca_context_cancel")
            && find(api.playing, "ca_context_playing") && find(api.play, "ca_context_play")) {
            api.drivers = driverFiles(QFileInfo(library.fileName()).absolutePath());
            return api; // the library stays loaded: QLibrary does not unload on destruction
        }
        return std::nullopt;
    }();
    return loaded ? &*loaded : nullptr;
}

// libcanberra loads its output driver (ALSA, PulseAudio) with libltdl and unloads it when a
// context is destroyed, while the driver's playback thread may still be on its way out of the
// driver's code: the thread then runs in unmapped memory. A driver that is loaded stays loaded
// for the life of the process instead (glibc: RTLD_NOLOAD with RTLD_NODELETE marks a loaded one
// and loads none). The files are listed once, with the library.
void keepDriversLoaded(const Canberra &ca)
{
    for (const QByteArray &driver : ca.drivers)
        dlopen(driver.constData(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}
} // namespace

CanberraSoundPlayer::CanberraSoundPlayer() = default;

// The sound backend (and the audio server connection and thread it brings) is opened at the
// first sound, not at start-up: most sessions of a tray program play few sounds or none.
bool CanberraSoundPlayer::open()
{
    if (m_context || m_openFailed)
        return m_context != nullptr;
    const Canberra *ca = canberra();
    if (!ca || ca->create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        m_openFailed = true;
        return false;
    }
    ca->changeProps(m_context, CA_PROP_APPLICATION_NAME, "Brisvane", CA_PROP_APPLICATION_ID,
        "org.brisvane.Brisvane", nullptr);
    ca->open(m_context);
    keepDriversLoaded(*ca);
    return true;
}

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    if (m_context)
        canberra()->destroy(m_context);
}

void CanberraSoundPlayer::stop()
{
    if (m_context)
        canberra()->cancel(m_context, soundId);
}

bool CanberraSoundPlayer::isPlaying() const
{
    int playing = 0;
    if (!m_context || canberra()->playing(m_context, soundId, &playing) != CA_SUCCESS)
        return false;
    return playing != 0;
}

bool CanberraSoundPlayer::startFile(const QString &path)
{
    if (!open())
        return false;
    stop();
    const QByteArray file = QFile::encodeName(path);
    // The user may replace the file under the same name: never play a cached copy.
    const int result
        = canberra()->play(m_context, soundId, CA_PROP_MEDIA_FILENAME, file.constData(),
            CA_PROP_MEDIA_ROLE, "event", CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
    // A driver the open could not reach yet comes with the first sound.
    keepDriversLoaded(*canberra());
    return result == CA_SUCCESS;
}

void CanberraSoundPlayer::startDefault()
{
    if (!open())
        return;
    stop();
    canberra()->play(m_context, soundId, CA_PROP_EVENT_ID, defaultEvent, CA_PROP_MEDIA_ROLE,
        "event", CA_PROP_EVENT_DESCRIPTION, "Brisvane alert", nullptr);
    keepDriversLoaded(*canberra());
}
