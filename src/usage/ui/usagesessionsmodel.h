#pragma once

#include "usage/usagestore.h"

#include <QAbstractTableModel>

// The connections of a month for the Usage window's list, newest first. Texts are made as
// the view asks for them, so a long month costs nothing until it is scrolled.
class UsageSessionsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Started, Duration, Received, Sent, Entry, EndedBy, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setSessions(QList<UsageSession> sessions);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<UsageSession> m_sessions;
};
