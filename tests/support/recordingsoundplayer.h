#pragma once

#include "alerts/soundplayer.h"

#include <QList>

// A SoundPlayer for tests: records every sound started and keeps the last one "playing"
// until the test finishes it, so a test can see which sound a new one cut off.
class RecordingSoundPlayer : public SoundPlayer
{
public:
    struct Played {
        bool isDefault = false;
        QString file; // the wave file, empty for the default sound
        bool cutOff = false; // a later sound (or stop) ended it before it finished
        bool operator==(const Played &) const = default;
    };

    const QList<Played> &played() const { return m_played; }
    // The files played, with "<default>" for the default sound.
    QStringList names() const;
    void clear()
    {
        m_played.clear();
        m_playing = false;
    }
    // The current sound comes to its end by itself.
    void finish() { m_playing = false; }
    // Makes the backend refuse files it is handed, as for a wave it cannot decode.
    void setRefuseFiles(bool refuse) { m_refuseFiles = refuse; }

    void stop() override;
    bool isPlaying() const override { return m_playing; }

protected:
    bool startFile(const QString &path) override;
    void startDefault() override;

private:
    void start(Played sound);

    QList<Played> m_played;
    bool m_playing = false;
    bool m_refuseFiles = false;
};
