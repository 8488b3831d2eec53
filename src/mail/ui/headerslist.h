#pragma once

#include <QListWidget>
#include <QStringList>

class QHeaderView;
class QLabel;

// The headers list of the check windows. Each row's text stays what the code forms, reads and
// compares (sender, two tabs, subject, three tabs, date); the list only shows it differently:
// the fields in aligned columns under a header with the window's headings, whose sections
// the user can resize, each row with its tick box. A row without tabs ("Message Deleted")
// runs across the columns.
class HeadersList : public QListWidget
{
    Q_OBJECT

public:
    explicit HeadersList(QWidget *parent = nullptr);

    // Takes the headings' texts into the header; the labels themselves give way to it.
    void setHeadings(const QList<QLabel *> &headings);
    QHeaderView *header() const { return m_header; }
    // The fields of a row's text, in column order.
    static QStringList fields(const QString &rowText);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    void placeHeader();

    QHeaderView *m_header;
};
