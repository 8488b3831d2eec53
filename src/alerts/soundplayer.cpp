#include "alerts/soundplayer.h"

#include "alerts/wavefile.h"

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(const QString &path)
{
    if (WaveFile::isWave(path) && startFile(path))
        return;
    startDefault();
}

void SoundPlayer::playDefault()
{
    startDefault();
}
