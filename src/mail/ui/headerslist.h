#pragma once

#include "mail/mailcontrol.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QFont>
#include <QList>
#include <QStringList>
#include <QTreeView>

class QLabel;

// The rows of a check window's headers list: row r stands for message r + 1 of the listing,
// with its sender, subject and date, a tick box, and the message's identity on the server
// (when the server gives identities). A row that was deleted keeps its place, shows "Message
// Deleted" and loses its tick box; a message not announced before shows in bold.
//
// A mailbox may hold ten thousand messages, so the texts of all rows live in one buffer (as
// UTF-8) and a row is a few offsets and flags: no object, string or variant per row.
class HeadersModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { FromColumn, SubjectColumn, DateColumn, ColumnCount };
    using Header = MailHeader;

    explicit HeadersModel(QObject *parent = nullptr);

    // No rows; the next listing's identities (index i for row i; empty when there are none).
    void clear(const QStringList &identities = {});
    void append(const QList<Header> &headers);
    void setHeadings(const QStringList &headings);

    QString from(int row) const { return field(row, FromColumn); }
    QString subject(int row) const { return field(row, SubjectColumn); }
    QString date(int row) const { return field(row, DateColumn); }
    // The identity of the row's message; empty when the server gave none.
    QString identity(int row) const { return m_identities.value(row); }
    bool isFresh(int row) const { return has(row, Fresh); }
    bool isTicked(int row) const { return has(row, Ticked); }
    bool isDeleted(int row) const { return has(row, Deleted); }
    // Ticks or clears the rows before `end` that still have a tick box.
    void setTicked(int row, bool ticked);
    void setAllTicked(int end, bool ticked);
    void markDeleted(int row);
    // The row's message was read: no longer bold, its tick cleared.
    void markRead(int row);
    // The row as one text: sender, two tabs, subject, three tabs, date; or "Message Deleted".
    QString rowText(int row) const;
    static QString rowText(const QString &from, const QString &subject, const QString &date);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    enum State : quint8 { Fresh = 1, Ticked = 2, Deleted = 4 };
    struct Row {
        quint32 start; // of its fields in m_text, one after the other
        quint16 length[ColumnCount];
        quint8 state;
    };

    bool has(int row, State flag) const
    {
        return row >= 0 && row < m_rows.size() && (m_rows.at(row).state & flag);
    }
    QString field(int row, int column) const;
    void setState(int row, State flag, bool on);
    void settleRow(int row, State state, bool on);

    QList<Row> m_rows;
    QByteArray m_text;
    QStringList m_identities;
    QStringList m_headings;
    QFont m_bold; // bold alone: the view's font gives the rest
};

// The headers list of the check windows: the rows in the columns of the window's headings,
// under a header whose sections the user can resize, each row with its tick box. Space ticks
// or clears the current row whichever column has the focus.
class HeadersList : public QTreeView
{
    Q_OBJECT

public:
    explicit HeadersList(QWidget *parent = nullptr);

    // Takes the headings' texts into the header; the labels themselves give way to it.
    void setHeadings(const QList<QLabel *> &headings);
    HeadersModel &rows() const { return *m_rows; }
    int count() const { return m_rows->rowCount(); }
    void clear() { m_rows->clear(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    HeadersModel *m_rows;
};
