#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// One connection as the usage record keeps it. Times are UTC.
struct UsageSession {
    qint64 id = 0;
    QString entry;
    QDateTime startedAt;
    QDateTime endedAt; // invalid while the line is up
    qint64 seconds = 0;
    qint64 bytesIn = 0;
    qint64 bytesOut = 0;
    QString endedBy; // one of UsageEnd, empty while up
};

// Who ended a connection, as the record spells it.
namespace UsageEnd {
inline const QString User = QStringLiteral("user");
inline const QString Dropped = QStringLiteral("dropped");
inline const QString ProgramExit = QStringLiteral("program exit");
} // namespace UsageEnd

struct UsageTotals {
    int sessions = 0;
    qint64 seconds = 0;
    qint64 bytesIn = 0;
    qint64 bytesOut = 0;
};

// The usage record: an SQLite database (Qt SQL's driver) with one row per connection in the
// table `connections`, in WAL mode with full syncs, so that a row written survives a crash
// or a power loss. The schema's version is SQLite's user_version; open() brings an older
// file up to date step by step and leaves a newer one alone.
//
// Failures never stop the program: a file that cannot be opened or written is described
// once through problem() and problemFound(), and the store goes on without recording. A file that
// is not a database (or a damaged one) is renamed aside, never overwritten, and a new one
// is started in its place.
class UsageStore : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSchemaVersion = 1;

    explicit UsageStore(QString path, QObject *parent = nullptr);
    ~UsageStore() override;

    QString path() const { return m_path; }
    bool open();
    // The program's way in: the first call opens the record and closes the rows a crash left
    // open; later ones say whether it is open. A program that never goes online or shows its
    // usage never loads SQLite.
    bool openOnFirstUse();
    bool isOpen() const { return m_open; }
    // What went wrong with the file, for the user; empty while all is well.
    QString problem() const { return m_problem; }
    // Where a damaged file was moved, when open() found one.
    QString setAside() const { return m_setAside; }

    // Rows left open by a program that ended without closing them (a crash, a power loss):
    // each ends at its last update. Returns how many were closed.
    int closeAbandoned();

    // A new row for a line that came up; its id, or nullopt when it could not be written.
    std::optional<qint64> begin(const QString &entry, const QDateTime &startedAt);
    // The minute update of a row whose line is still up: its seconds and bytes so far.
    bool update(const UsageSession &session);
    // The row's last seconds and bytes, and who ended it; it ends its seconds after its start.
    bool close(const UsageSession &session);

    // Connections started in [from, to), oldest first.
    QList<UsageSession> sessions(const QDateTime &from, const QDateTime &to) const;
    UsageTotals totals(const QDateTime &from, const QDateTime &to) const;

    // For the benchmark and tests: many rows in one transaction.
    bool insertClosed(const QList<UsageSession> &sessions);

Q_SIGNALS:
    // The first problem since the store was made (a failure, or a damaged file set aside),
    // worded for the user; later ones are only logged.
    void problemFound(const QString &message);

private:
    bool writeSession(const UsageSession &session, bool ending);
    enum class Opened { Ok, Damaged, Failed };
    Opened tryOpen();
    bool migrate(int from);
    void moveAside();
    void fail(const QString &what, const QString &detail);
    bool exec(const QString &sql);
    static QString stamp(const QDateTime &time);

    QString m_path;
    QString m_connectionName;
    QSqlDatabase m_db;
    bool m_open = false;
    bool m_tried = false; // open() has run
    bool m_reported = false;
    QString m_problem;
    QString m_setAside;
};
