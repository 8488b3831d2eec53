#include "alerts/canberrasoundplayer.h"

#include <QFile>

#include <canberra.h>

namespace {
// Every sound is played under this id, so one cancel cuts off whatever plays.
constexpr uint32_t soundId = 1;
constexpr const char *defaultEvent = "bell";
} // namespace

CanberraSoundPlayer::CanberraSoundPlayer() = default;

// The sound backend (and the audio server connection and thread it brings) is opened at the
// first sound, not at start-up: most sessions of a tray program play few sounds or none.
bool CanberraSoundPlayer::open()
{
    if (m_context || m_openFailed)
        return m_context != nullptr;
    if (ca_context_create(&m_context) != CA_SUCCESS) {
        m_context = nullptr;
        m_openFailed = true;
        return false;
    }
    ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Brisvane", CA_PROP_APPLICATION_ID,
        "org.brisvane.Brisvane", nullptr);
    ca_context_open(m_context);
    return true;
}

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    if (m_context)
        ca_context_destroy(m_context);
}

void CanberraSoundPlayer::stop()
{
    if (m_context)
        ca_context_cancel(m_context, soundId);
}

bool CanberraSoundPlayer::isPlaying() const
{
    int playing = 0;
    if (!m_context || ca_context_playing(m_context, soundId, &playing) != CA_SUCCESS)
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
    const int result = ca_context_play(m_context, soundId, CA_PROP_MEDIA_FILENAME, file.constData(),
        CA_PROP_MEDIA_ROLE, "event", CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
    return result == CA_SUCCESS;
}

void CanberraSoundPlayer::startDefault()
{
    if (!open())
        return;
    stop();
    ca_context_play(m_context, soundId, CA_PROP_EVENT_ID, defaultEvent, CA_PROP_MEDIA_ROLE, "event",
        CA_PROP_EVENT_DESCRIPTION, "Brisvane alert", nullptr);
}
