#pragma once

#include "usage/usagestore.h"

#include <QDate>
#include <QList>

// What the usage window shows, computed from the record's rows: the ranges of a month and a
// year in local time, sums per day and per month, the texts of times and sizes, and the CSV
// export. A connection counts where it started.
namespace UsageReport {

struct Range {
    QDateTime from; // UTC
    QDateTime to; // UTC, excluded
};

// The month (or year) of `day` in local time, as a UTC range for the store.
Range monthOf(QDate day);
Range yearOf(QDate day);

struct Bucket {
    qint64 seconds = 0;
    qint64 bytes = 0; // in and out
};
// One bucket per day of `month`'s month (local days), and one per month of `year`'s year.
QList<Bucket> perDay(const QList<UsageSession> &sessions, QDate month);
QList<Bucket> perMonth(const QList<UsageSession> &sessions, QDate year);

// "12:05:09"; hours grow past 99.
QString duration(qint64 seconds);
// "512 bytes", "1.5 kB", "23.4 MB", "1.21 GB" (powers of 1000).
QString size(qint64 bytes);

// The rows as CSV (RFC 4180): a header line, then one line per connection with its times in
// UTC (ISO 8601), its seconds and bytes as numbers.
QByteArray csv(const QList<UsageSession> &sessions);
// Writes the CSV atomically; an error text, or an empty one when it was written.
QString writeCsv(const QString &path, const QList<UsageSession> &sessions);

} // namespace UsageReport
