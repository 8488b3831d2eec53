#include "mail/ui/headerslist.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

namespace {
const char *const kMessageDeleted = QT_TRANSLATE_NOOP("MessageList", "Message Deleted");
// A field longer than this is cut: no row shows that much of it.
constexpr int kLongestField = 0xFFFF;
} // namespace

HeadersModel::HeadersModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_headings(ColumnCount)
{
    m_bold.setBold(true);
}

void HeadersModel::clear(const QStringList &identities)
{
    beginResetModel();
    m_rows.clear();
    m_rows.squeeze();
    m_text.clear();
    m_text.squeeze();
    m_identities = identities;
    endResetModel();
}

void HeadersModel::append(const QList<Header> &headers)
{
    if (headers.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(headers.size()) - 1);
    for (const Header &header : headers) {
        Row row{quint32(m_text.size()), {}, quint8(header.fresh ? Fresh : 0)};
        int column = 0;
        for (const QString *text : {&header.from, &header.subject, &header.date}) {
            const QByteArray utf8 = text->left(kLongestField).toUtf8().left(kLongestField);
            row.length[column++] = quint16(utf8.size());
            m_text += utf8;
        }
        m_rows.append(row);
    }
    endInsertRows();
}

void HeadersModel::setHeadings(const QStringList &headings)
{
    for (int column = 0; column < ColumnCount; ++column)
        m_headings[column] = headings.value(column);
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

QString HeadersModel::field(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const Row &r = m_rows.at(row);
    qsizetype start = r.start;
    for (int c = 0; c < column; ++c)
        start += r.length[c];
    return QString::fromUtf8(m_text.constData() + start, r.length[column]);
}

void HeadersModel::setState(int row, State flag, bool on)
{
    quint8 &state = m_rows[row].state;
    state = on ? (state | flag) : (state & ~flag);
}

void HeadersModel::setTicked(int row, bool ticked)
{
    if (row < 0 || row >= m_rows.size() || isDeleted(row) || isTicked(row) == ticked)
        return;
    setState(row, Ticked, ticked);
    const QModelIndex tick = index(row, FromColumn);
    Q_EMIT dataChanged(tick, tick, {Qt::CheckStateRole});
}

void HeadersModel::setAllTicked(int end, bool ticked)
{
    end = qMin(end, int(m_rows.size()));
    for (int row = 0; row < end; ++row)
        if (!isDeleted(row))
            setState(row, Ticked, ticked);
    if (end > 0)
        Q_EMIT dataChanged(index(0, FromColumn), index(end - 1, FromColumn), {Qt::CheckStateRole});
}

void HeadersModel::markDeleted(int row)
{
    settleRow(row, Deleted, true);
}

void HeadersModel::markRead(int row)
{
    settleRow(row, Fresh, false);
}

// The server did what the ticked row asked: the tick goes, the row shows the new state.
void HeadersModel::settleRow(int row, State state, bool on)
{
    if (row < 0 || row >= m_rows.size())
        return;
    setState(row, Ticked, false);
    setState(row, state, on);
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

QString HeadersModel::rowText(int row) const
{
    if (isDeleted(row))
        return QCoreApplication::translate("MessageList", kMessageDeleted);
    return rowText(from(row), subject(row), date(row));
}

QString HeadersModel::rowText(const QString &from, const QString &subject, const QString &date)
{
    return from + QStringLiteral("\t\t") + subject + QStringLiteral("\t\t\t") + date;
}

int HeadersModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HeadersModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HeadersModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row >= m_rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        // A deleted row says so in its first column; the others go blank.
        if (isDeleted(row))
            return index.column() == FromColumn
                ? QCoreApplication::translate("MessageList", kMessageDeleted)
                : QString();
        return field(row, index.column());
    case Qt::CheckStateRole:
        if (index.column() != FromColumn || isDeleted(row))
            return {};
        return isTicked(row) ? Qt::Checked : Qt::Unchecked;
    case Qt::FontRole: return isFresh(row) && !isDeleted(row) ? QVariant(m_bold) : QVariant();
    default: return {};
    }
}

bool HeadersModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || isDeleted(index.row()))
        return false;
    setTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags HeadersModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == FromColumn && !isDeleted(index.row()))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant HeadersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return m_headings.value(section);
}

HeadersList::HeadersList(QWidget *parent)
    : QTreeView(parent)
    , m_rows(new HeadersModel(this))
{
    setModel(m_rows);
    // A flat list: no tree decoration, one row height for all (so ten thousand rows are laid
    // out without measuring each).
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setObjectName(QStringLiteral("listMessagesHeader"));
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setStretchLastSection(true);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void HeadersList::setHeadings(const QList<QLabel *> &headings)
{
    QStringList texts;
    for (QLabel *heading : headings) {
        texts << heading->text();
        heading->setVisible(false);
    }
    m_rows->setHeadings(texts);
    // The sender and the subject take most of the room at first; the date the rest.
    header()->resizeSection(HeadersModel::FromColumn, qMax(120, viewport()->width() * 3 / 10));
    header()->resizeSection(HeadersModel::SubjectColumn, qMax(160, viewport()->width() * 9 / 20));
}

void HeadersList::keyPressEvent(QKeyEvent *event)
{
    const int row = currentIndex().row();
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) && row >= 0
        && event->modifiers() == Qt::NoModifier) {
        m_rows->setTicked(row, !m_rows->isTicked(row));
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}
