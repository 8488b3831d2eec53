#pragma once

#include "alerts/soundplayer.h"

struct ca_context;

// Plays through libcanberra, the freedesktop event-sound library: files by name, the default
// sound from the desktop's sound theme ("bell"). Every sound is played under one id, so
// cancelling that id cuts off whatever is playing. Without a sound device the calls fail
// quietly: an alert is never worth an error message.
class CanberraSoundPlayer : public SoundPlayer
{
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer &) = delete;
    CanberraSoundPlayer &operator=(const CanberraSoundPlayer &) = delete;

    void stop() override;
    bool isPlaying() const override;

protected:
    bool startFile(const QString &path) override;
    void startDefault() override;

private:
    bool open();

    ca_context *m_context = nullptr;
    bool m_openFailed = false;
};
