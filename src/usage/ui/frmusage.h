#pragma once

#include "usage/usagestore.h"

#include <QDate>
#include <QWidget>

class AppContext;
class BarChart;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class UsageLimit;
class UsageRecorder;
class UsageSessionsModel;

// The Usage window: the time and data of a month (this one at first) with the monthly limit,
// a bar chart per day of the month or per month of its year, the month's connections, and
// their export to CSV. It reads the year's rows once per month shown and follows the
// recorder while it shows the current month.
class frmUsage : public QWidget
{
    Q_OBJECT

public:
    struct Links {
        AppContext &context;
        const UsageStore &store;
        UsageRecorder &recorder;
        const UsageLimit &limit;
    };
    enum class Span { DaysOfMonth, MonthsOfYear };
    enum class Measure { Time, Data };

    explicit frmUsage(Links links, QWidget *parent = nullptr);
    ~frmUsage() override;

    // Shows the window (deleted when closed).
    static frmUsage *open(Links links);

    QDate month() const { return m_month; }
    void showMonth(QDate month);
    void refresh();
    // What the chart shows right now, one value per bar (hours or megabytes).
    QList<double> chartValues() const;
    const QList<UsageSession> &monthSessions() const { return m_monthSessions; }

    QLabel *lblMonth;
    QToolButton *cmdPrevious;
    QToolButton *cmdNext;
    QComboBox *cboSpan;
    QComboBox *cboMeasure;
    QLabel *lblSummary;
    QLabel *lblLimit;
    BarChart *chartView;
    QTableView *lstSessions;
    QPushButton *cmdExport;
    QPushButton *cmdClose;

    void cmdExport_Click();

private:
    void buildLayout();
    void loadYear();
    void showSummary();
    void showChart();
    void followRecorder();

    Links m_links;
    QDate m_month;
    // The rows of the shown month's year, and those of the month itself.
    QList<UsageSession> m_year;
    QList<UsageSession> m_monthSessions;
    UsageSessionsModel *m_model = nullptr;
};
