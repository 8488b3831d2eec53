#pragma once

#include <QString>

// Plays alert sounds without blocking the caller.
//
// One sound plays at a time: starting a sound cuts off the one still playing. A file that is
// missing, empty or not a wave file, or that the backend cannot play, gives the desktop's
// default event sound instead; nothing is reported to the user.
//
// The checks and the fall-back live here, so every backend (and the test fake) behaves alike;
// a backend only starts and stops sounds.
class SoundPlayer
{
public:
    virtual ~SoundPlayer();

    // Returns at once; the sound plays on.
    void play(const QString &path);
    void playDefault();

    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;

protected:
    // Cuts off the current sound and starts `path`, already checked to be a wave file.
    // False when the backend could not play it (the default sound then plays).
    virtual bool startFile(const QString &path) = 0;
    // Cuts off the current sound and starts the desktop's default event sound.
    virtual void startDefault() = 0;
};
