#include "usage/usagestore.h"

#include "settings/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <atomic>

namespace {

// Each step brings the schema from its index to the next version. A later version adds a
// step here and never edits an earlier one: files in use went through it already.
const QList<QStringList> &migrations()
{
    static const QList<QStringList> steps{
        {
            QStringLiteral("CREATE TABLE connections ("
                           " id INTEGER PRIMARY KEY,"
                           " entry TEXT NOT NULL,"
                           " started_at TEXT NOT NULL,"
                           " ended_at TEXT,"
                           " seconds INTEGER NOT NULL DEFAULT 0,"
                           " bytes_in INTEGER NOT NULL DEFAULT 0,"
                           " bytes_out INTEGER NOT NULL DEFAULT 0,"
                           " ended_by TEXT,"
                           // the last minute update: where a row left open by a crash ends
                           " updated_at TEXT NOT NULL)"),
            QStringLiteral("CREATE INDEX connections_started_at ON connections (started_at)"),
        },
    };
    return steps;
}

// SQLite's primary result codes for a file that is not a database, or a damaged one.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

bool isDamage(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == kSqliteCorrupt || code == kSqliteNotADatabase;
}

QString connectionName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("brisvane-usage-%1").arg(++count);
}

} // namespace

UsageStore::UsageStore(QString path, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_connectionName(connectionName())
{
    // An older version made it open to others; it is closed before it is first used.
    PrivateFiles::tighten(m_path);
}

UsageStore::~UsageStore()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool UsageStore::openOnFirstUse()
{
    if (std::exchange(m_tried, true))
        return m_open;
    if (open())
        closeAbandoned();
    return m_open;
}

QString UsageStore::stamp(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODate);
}

void UsageStore::fail(const QString &what, const QString &detail)
{
    const QString message = QStringLiteral("Brisvane %1 its usage record %2: %3. Time and data "
                                           "online are not recorded meanwhile.")
                                .arg(what, QDir::toNativeSeparators(m_path), detail);
    qWarning("%s", qPrintable(message));
    if (m_problem.isEmpty())
        m_problem = message;
    if (!std::exchange(m_reported, true))
        Q_EMIT problemFound(message);
}

bool UsageStore::open()
{
    m_tried = true;
    // SQLite and Qt's driver for it are loaded here, not with the program.
    if (!m_db.isValid()) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        m_db.setDatabaseName(m_path);
    }
    Opened opened = tryOpen();
    if (opened == Opened::Damaged) {
        moveAside();
        if (m_setAside.isEmpty())
            return false;
        opened = tryOpen();
        if (opened == Opened::Ok && !std::exchange(m_reported, true)) {
            m_problem
                = QStringLiteral("Brisvane's usage record %1 was damaged. It has been kept "
                                 "as %2 and a new record started.")
                      .arg(QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(m_setAside));
            Q_EMIT problemFound(m_problem);
        }
    }
    m_open = opened == Opened::Ok;
    if (!m_open)
        m_db.close();
    return m_open;
}

UsageStore::Opened UsageStore::tryOpen()
{
    // The record says when the user was online: for the user alone. SQLite gives its journal
    // the mode of the database file.
    PrivateFiles::prepare(m_path);
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        PrivateFiles::tighten(m_path + QLatin1String(suffix));
    if (!m_db.open()) {
        fail(QStringLiteral("cannot open"), m_db.lastError().text());
        return Opened::Failed;
    }
    QSqlQuery check(m_db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check"))) {
        if (isDamage(check.lastError()))
            return Opened::Damaged;
        fail(QStringLiteral("cannot read"), check.lastError().text());
        return Opened::Failed;
    }
    if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
        return Opened::Damaged;
    check.finish();
    QSqlQuery wal(m_db);
    if (!wal.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !wal.next()
        || wal.value(0).toString() != QLatin1String("wal")) {
        fail(QStringLiteral("cannot write"), wal.lastError().text());
        return Opened::Failed;
    }
    wal.finish();
    QSqlQuery version(m_db);
    if (!exec(QStringLiteral("PRAGMA synchronous = FULL"))
        || !version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
        return Opened::Failed;
    const int found = version.value(0).toInt();
    version.finish();
    if (found > kSchemaVersion) {
        fail(QStringLiteral("cannot use"),
            QStringLiteral("it was written by a newer Brisvane (version %1)").arg(found));
        return Opened::Failed;
    }
    return migrate(found) ? Opened::Ok : Opened::Failed;
}

bool UsageStore::migrate(int from)
{
    for (int version = from; version < kSchemaVersion; ++version) {
        bool done = m_db.transaction();
        for (const QString &statement : migrations().at(version))
            done = done && exec(statement);
        done = done && exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1));
        if (!done || !m_db.commit()) {
            m_db.rollback();
            fail(QStringLiteral("cannot update"), m_db.lastError().text());
            return false;
        }
    }
    return true;
}

// The damaged file and its journal go aside under a name of their own; nothing is deleted.
void UsageStore::moveAside()
{
    m_db.close();
    const QString stampText
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString aside = m_path + QStringLiteral(".damaged-") + stampText;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + QStringLiteral(".damaged-%1-%2").arg(stampText).arg(n);
    if (!QFile::rename(m_path, aside)) {
        fail(QStringLiteral("cannot set aside"), QStringLiteral("it could not be renamed"));
        return;
    }
    for (const QLatin1String suffix : {QLatin1String("-wal"), QLatin1String("-shm")}) {
        if (QFileInfo::exists(m_path + suffix))
            QFile::rename(m_path + suffix, aside + suffix);
    }
    m_setAside = aside;
}

bool UsageStore::exec(const QString &sql)
{
    QSqlQuery query(m_db);
    if (query.exec(sql))
        return true;
    fail(QStringLiteral("could not write"), query.lastError().text());
    return false;
}

int UsageStore::closeAbandoned()
{
    if (!m_open)
        return 0;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE connections SET ended_at = updated_at, ended_by = ? "
                                 "WHERE ended_at IS NULL"));
    query.addBindValue(UsageEnd::ProgramExit);
    if (!query.exec()) {
        fail(QStringLiteral("could not write"), query.lastError().text());
        return 0;
    }
    return query.numRowsAffected();
}

std::optional<qint64> UsageStore::begin(const QString &entry, const QDateTime &startedAt)
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery query(m_db);
    query.prepare(
        QStringLiteral("INSERT INTO connections (entry, started_at, updated_at) VALUES (?, ?, ?)"));
    query.addBindValue(entry);
    query.addBindValue(stamp(startedAt));
    query.addBindValue(stamp(startedAt));
    if (!query.exec()) {
        fail(QStringLiteral("could not write"), query.lastError().text());
        return std::nullopt;
    }
    return query.lastInsertId().toLongLong();
}

bool UsageStore::update(const UsageSession &session)
{
    return writeSession(session, false);
}

bool UsageStore::close(const UsageSession &session)
{
    return writeSession(session, true);
}

// The row's seconds and bytes so far, and with `ending` its end and what ended it.
bool UsageStore::writeSession(const UsageSession &session, bool ending)
{
    if (!m_open)
        return false;
    const QString end = stamp(session.startedAt.addSecs(session.seconds));
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE connections SET seconds = ?, bytes_in = ?, bytes_out = ?, "
                                 "updated_at = ?")
        + (ending ? QStringLiteral(", ended_at = ?, ended_by = ?") : QString())
        + QStringLiteral(" WHERE id = ?"));
    query.addBindValue(session.seconds);
    query.addBindValue(session.bytesIn);
    query.addBindValue(session.bytesOut);
    query.addBindValue(end);
    if (ending) {
        query.addBindValue(end);
        query.addBindValue(session.endedBy);
    }
    query.addBindValue(session.id);
    if (query.exec())
        return true;
    fail(QStringLiteral("could not write"), query.lastError().text());
    return false;
}

QList<UsageSession> UsageStore::sessions(const QDateTime &from, const QDateTime &to) const
{
    QList<UsageSession> found;
    if (!m_open)
        return found;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    // SQLite turns the times into seconds since the epoch: far cheaper than parsing the text.
    query.prepare(QStringLiteral("SELECT id, entry, strftime('%s', started_at), "
                                 "strftime('%s', ended_at), seconds, bytes_in, bytes_out, "
                                 "ended_by FROM connections "
                                 "WHERE started_at >= ? AND started_at < ? ORDER BY started_at"));
    query.addBindValue(stamp(from));
    query.addBindValue(stamp(to));
    if (!query.exec())
        return found;
    while (query.next()) {
        UsageSession s;
        s.id = query.value(0).toLongLong();
        s.entry = query.value(1).toString();
        s.startedAt = QDateTime::fromSecsSinceEpoch(query.value(2).toLongLong(), Qt::UTC);
        if (!query.value(3).isNull())
            s.endedAt = QDateTime::fromSecsSinceEpoch(query.value(3).toLongLong(), Qt::UTC);
        s.seconds = query.value(4).toLongLong();
        s.bytesIn = query.value(5).toLongLong();
        s.bytesOut = query.value(6).toLongLong();
        s.endedBy = query.value(7).toString();
        found.append(s);
    }
    return found;
}

UsageTotals UsageStore::totals(const QDateTime &from, const QDateTime &to) const
{
    UsageTotals totals;
    if (!m_open)
        return totals;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT count(*), total(seconds), total(bytes_in), "
                                 "total(bytes_out) FROM connections "
                                 "WHERE started_at >= ? AND started_at < ?"));
    query.addBindValue(stamp(from));
    query.addBindValue(stamp(to));
    if (query.exec() && query.next()) {
        totals.sessions = query.value(0).toInt();
        totals.seconds = qint64(query.value(1).toDouble());
        totals.bytesIn = qint64(query.value(2).toDouble());
        totals.bytesOut = qint64(query.value(3).toDouble());
    }
    return totals;
}

bool UsageStore::insertClosed(const QList<UsageSession> &sessions)
{
    if (!m_open || !m_db.transaction())
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral(
        "INSERT INTO connections (entry, started_at, ended_at, seconds, bytes_in, bytes_out, "
        "ended_by, updated_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const UsageSession &s : sessions) {
        const QString end = stamp(s.startedAt.addSecs(s.seconds));
        query.addBindValue(s.entry);
        query.addBindValue(stamp(s.startedAt));
        query.addBindValue(end);
        query.addBindValue(s.seconds);
        query.addBindValue(s.bytesIn);
        query.addBindValue(s.bytesOut);
        query.addBindValue(s.endedBy);
        query.addBindValue(end);
        if (!query.exec()) {
            m_db.rollback();
            fail(QStringLiteral("could not write"), query.lastError().text());
            return false;
        }
    }
    return m_db.commit();
}
