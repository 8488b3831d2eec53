#pragma once

#include "connection/dialupservice.h"

#include <QList>

#include <memory>

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
    // The simulated interface's traffic while the line is up, in bytes a second: about what
    // a 56k modem carries while a page loads.
    static constexpr qint64 kBytesInPerSecond = 4000;
    static constexpr qint64 kBytesOutPerSecond = 500;

    explicit SimulatedLine(
        Clock &clock, QList<Entry> entries = standardEntries(), QObject *parent = nullptr);
    ~SimulatedLine() override;

    QString kind() const override { return QStringLiteral("simulated"); }
    QStringList entries() const override;
    void dial(const DialRequest &request) override;
    void hangUp() override;
    LineStatus status() const override { return m_status; }
    QString interfaceName() const override;
    // Counts up at the rates above on the clock while the line is up, from 0 at each
    // connection; a lost line's counts stay readable until the next dial or hang-up, as a
    // modem device's do.
    std::optional<LineCounters> counters() const override;

    // For tests: the line goes down now, as if the far end hung up.
    void dropLine();
    // For tests: without a carrier the line drops and every dial fails at once, as a
    // NetworkManager device without one refuses to be activated.
    void setCarrier(bool present);
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
    bool m_carrier = true;
    // When the line came up, on the clock's tick count.
    qint64 m_connectedAt = 0;
    std::optional<LineCounters> m_lostCounts;
};
