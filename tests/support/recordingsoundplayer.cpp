#include "support/recordingsoundplayer.h"

#include <QStringList>

QStringList RecordingSoundPlayer::names() const
{
    QStringList names;
    for (const Played &p : m_played)
        names << (p.isDefault ? QStringLiteral("<default>") : p.file);
    return names;
}

void RecordingSoundPlayer::stop()
{
    if (m_playing && !m_played.isEmpty())
        m_played.last().cutOff = true;
    m_playing = false;
}

bool RecordingSoundPlayer::startFile(const QString &path)
{
    if (m_refuseFiles)
        return false;
    start({false, path, false});
    return true;
}

void RecordingSoundPlayer::startDefault()
{
    start({true, QString(), false});
}

void RecordingSoundPlayer::start(Played sound)
{
    stop();
    m_played.append(std::move(sound));
    m_playing = true;
}
