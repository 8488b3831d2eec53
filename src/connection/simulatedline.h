#pragma once

#include "connection/dialupservice.h"

#include <QList>

#include <memory>

class Clock;
class Timer;

// A line of our own, for trying the program anywhere and for the tests: each entry's
// behaviour is scripted, and its steps run on the program's clock.
class SimulatedLine : public DialUpService
{
    Q_OBJECT

public:
    enum class Script {
        Connects, // connects after the usual steps
        AlwaysBusy, // every dial ends busy
        BusyTwice, // the first two dials end busy, then it connects
        Drops, // connects, then the line is lost after a minute
        NoCarrier, // every dial fails
    };
    struct Entry {
        QString name;
        Script script;
    };

    static QList<Entry> standardEntries();
    // How long the dropping line stays up.
    static constexpr int kDropAfterMs = 60000;

    explicit SimulatedLine(
        Clock &clock, QList<Entry> entries = standardEntries(), QObject *parent = nullptr);
    ~SimulatedLine() override;

    QString kind() const override { return QStringLiteral("simulated"); }
    QStringList entries() const override;
    void dial(const DialRequest &request) override;
    void hangUp() override;
    LineStatus status() const override { return m_status; }

    // For tests: the line goes down now, as if the far end hung up.
    void dropLine();
    int dialCount() const { return m_dials; }
    const DialRequest &lastRequest() const { return m_lastRequest; }

private:
    struct Step {
        int delayMs;
        int code;
        QString text;
    };
    QList<Step> stepsFor(Script script, const DialRequest &request);
    void runNextStep();
    void setStatus(int code, const QString &text);

    Clock &m_clock;
    QList<Entry> m_entries;
    std::unique_ptr<Timer> m_stepTimer;
    std::unique_ptr<Timer> m_dropTimer;
    QList<Step> m_pending;
    LineStatus m_status;
    DialRequest m_lastRequest;
    int m_dials = 0;
    int m_busyTwiceDials = 0;
};
