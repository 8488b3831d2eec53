#include "usage/ui/usagesessionsmodel.h"

#include "usage/usagereport.h"

#include <algorithm>

namespace {
// Who ended a connection in the user's words; the record keeps its own.
QString endedByText(const QString &endedBy)
{
    if (endedBy == UsageEnd::User)
        return UsageSessionsModel::tr("user");
    if (endedBy == UsageEnd::Dropped)
        return UsageSessionsModel::tr("dropped");
    if (endedBy == UsageEnd::ProgramExit)
        return UsageSessionsModel::tr("program exit");
    return endedBy;
}
} // namespace

void UsageSessionsModel::setSessions(QList<UsageSession> sessions)
{
    beginResetModel();
    m_sessions = std::move(sessions);
    std::reverse(m_sessions.begin(), m_sessions.end());
    endResetModel();
}

int UsageSessionsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_sessions.size());
}

int UsageSessionsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant UsageSessionsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_sessions.size())
        return {};
    const UsageSession &s = m_sessions.at(index.row());
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() >= Duration && index.column() <= Sent;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Started:
        return s.startedAt.toLocalTime().toString(QStringLiteral("ddd d MMM yyyy  hh:mm"));
    case Duration: return UsageReport::duration(s.seconds);
    case Received: return UsageReport::size(s.bytesIn);
    case Sent: return UsageReport::size(s.bytesOut);
    case Entry: return s.entry;
    case EndedBy: return s.endedAt.isValid() ? endedByText(s.endedBy) : tr("(online)");
    default: return {};
    }
}

QVariant UsageSessionsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Started: return tr("Started");
    case Duration: return tr("Time online");
    case Received: return tr("Received");
    case Sent: return tr("Sent");
    case Entry: return tr("Connection");
    case EndedBy: return tr("Ended by");
    default: return {};
    }
}
