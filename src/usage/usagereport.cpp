#include "usage/usagereport.h"

#include <QSaveFile>

#include <algorithm>

namespace UsageReport {

namespace {
QDateTime localMidnight(QDate day)
{
    return QDateTime(day, QTime(0, 0)).toUTC();
}

// RFC 4180: a field with a comma, a quote or a line break goes in quotes, its quotes doubled.
QByteArray field(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r'))
        bytes = '"' + bytes.replace("\"", "\"\"") + '"';
    return bytes;
}

// Sums the sessions into the buckets between consecutive bounds (seconds since the epoch):
// converting each start to local time would cost far more than the search.
QList<Bucket> inBuckets(const QList<UsageSession> &sessions, const QList<qint64> &bounds)
{
    QList<Bucket> buckets(bounds.size() - 1);
    for (const UsageSession &s : sessions) {
        const qint64 start = s.startedAt.toSecsSinceEpoch();
        const auto after = std::upper_bound(bounds.cbegin(), bounds.cend(), start);
        if (after == bounds.cbegin() || after == bounds.cend())
            continue;
        Bucket &bucket = buckets[after - bounds.cbegin() - 1];
        bucket.seconds += s.seconds;
        bucket.bytes += s.bytesIn + s.bytesOut;
    }
    return buckets;
}

QString utc(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODate) : QString();
}
} // namespace

Range monthOf(QDate day)
{
    const QDate first(day.year(), day.month(), 1);
    return {localMidnight(first), localMidnight(first.addMonths(1))};
}

Range yearOf(QDate day)
{
    const QDate first(day.year(), 1, 1);
    return {localMidnight(first), localMidnight(first.addYears(1))};
}

QList<Bucket> perDay(const QList<UsageSession> &sessions, QDate month)
{
    const QDate first(month.year(), month.month(), 1);
    QList<qint64> bounds;
    for (int day = 0; day <= first.daysInMonth(); ++day)
        bounds.append(localMidnight(first.addDays(day)).toSecsSinceEpoch());
    return inBuckets(sessions, bounds);
}

QList<Bucket> perMonth(const QList<UsageSession> &sessions, QDate year)
{
    const QDate first(year.year(), 1, 1);
    QList<qint64> bounds;
    for (int month = 0; month <= 12; ++month)
        bounds.append(localMidnight(first.addMonths(month)).toSecsSinceEpoch());
    return inBuckets(sessions, bounds);
}

QString duration(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString size(qint64 bytes)
{
    if (bytes < 1000)
        return QStringLiteral("%1 bytes").arg(bytes);
    const char *const units[] = {"kB", "MB", "GB", "TB"};
    double value = double(bytes) / 1000;
    int unit = 0;
    for (; value >= 1000 && unit < 3; ++unit)
        value /= 1000;
    return QStringLiteral("%1 %2")
        .arg(value, 0, 'f', value < 10 ? 2 : 1)
        .arg(QLatin1String(units[unit]));
}

QByteArray csv(const QList<UsageSession> &sessions)
{
    QByteArray out("entry,started_at,ended_at,seconds,bytes_in,bytes_out,ended_by\r\n");
    for (const UsageSession &s : sessions) {
        out += field(s.entry) + ',' + field(utc(s.startedAt)) + ',' + field(utc(s.endedAt)) + ','
            + QByteArray::number(s.seconds) + ',' + QByteArray::number(s.bytesIn) + ','
            + QByteArray::number(s.bytesOut) + ',' + field(s.endedBy) + "\r\n";
    }
    return out;
}

QString writeCsv(const QString &path, const QList<UsageSession> &sessions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv(sessions)) < 0 || !file.commit())
        return file.errorString();
    return {};
}

} // namespace UsageReport
