#include "connection/interfacecounters.h"

#include <QDir>
#include <QFile>

namespace InterfaceCounters {

namespace {
std::optional<qint64> readCounter(const QDir &statistics, const QString &name)
{
    QFile file(statistics.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    bool ok = false;
    const qint64 value = file.readLine(32).trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}
} // namespace

std::optional<LineCounters> read(const QString &interface, const QString &root)
{
    if (interface.isEmpty() || interface.contains(u'/') || interface.startsWith(u'.'))
        return std::nullopt;
    const QDir statistics(QDir(root).filePath(interface + QStringLiteral("/statistics")));
    const std::optional<qint64> in = readCounter(statistics, QStringLiteral("rx_bytes"));
    const std::optional<qint64> out = readCounter(statistics, QStringLiteral("tx_bytes"));
    if (!in || !out)
        return std::nullopt;
    return LineCounters{*in, *out};
}

} // namespace InterfaceCounters
