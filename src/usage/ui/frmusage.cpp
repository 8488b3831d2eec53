#include "usage/ui/frmusage.h"

#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "usage/ui/barchart.h"
#include "usage/ui/usagesessionsmodel.h"
#include "usage/usagelimit.h"
#include "usage/usagerecorder.h"
#include "usage/usagereport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

frmUsage::frmUsage(Links links, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , lblMonth(new QLabel(this))
    , cmdPrevious(new QToolButton(this))
    , cmdNext(new QToolButton(this))
    , cboSpan(new QComboBox(this))
    , cboMeasure(new QComboBox(this))
    , lblSummary(new QLabel(this))
    , lblLimit(new QLabel(this))
    , chartView(new BarChart(this))
    , lstSessions(new QTableView(this))
    , cmdExport(new QPushButton(tr("&Export CSV..."), this))
    , cmdClose(new QPushButton(tr("&Close"), this))
    , m_links(links)
    , m_model(new UsageSessionsModel(this))
{
    setObjectName(QStringLiteral("frmUsage"));
    setWindowTitle(tr("Usage"));
    buildLayout();
    connect(cmdPrevious, &QToolButton::clicked, this, [this] { showMonth(m_month.addMonths(-1)); });
    connect(cmdNext, &QToolButton::clicked, this, [this] { showMonth(m_month.addMonths(1)); });
    connect(cboSpan, &QComboBox::currentIndexChanged, this, &frmUsage::showChart);
    connect(cboMeasure, &QComboBox::currentIndexChanged, this, &frmUsage::showChart);
    connect(cmdExport, &QPushButton::clicked, this, &frmUsage::cmdExport_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes the window as Close does.
    auto *closeOnEscape = new QAction(this);
    closeOnEscape->setShortcut(Qt::Key_Escape);
    addAction(closeOnEscape);
    connect(closeOnEscape, &QAction::triggered, cmdClose, &QPushButton::click);
    connect(&links.recorder, &UsageRecorder::recorded, this, &frmUsage::followRecorder);
    showMonth(links.recorder.now().toLocalTime().date());
}

frmUsage::~frmUsage() = default;

frmUsage *frmUsage::open(Links links)
{
    auto *window = new frmUsage(links);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void frmUsage::buildLayout()
{
    lblMonth->setObjectName(QStringLiteral("lblMonth"));
    lblMonth->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("September 0000")));
    lblMonth->setAlignment(Qt::AlignCenter);
    cmdPrevious->setArrowType(Qt::LeftArrow);
    cmdPrevious->setToolTip(tr("Previous month"));
    cmdPrevious->setAccessibleName(cmdPrevious->toolTip());
    cmdNext->setArrowType(Qt::RightArrow);
    cmdNext->setToolTip(tr("Next month"));
    cmdNext->setAccessibleName(cmdNext->toolTip());
    lblMonth->setAccessibleDescription(tr("Month shown"));
    cboSpan->setObjectName(QStringLiteral("cboSpan"));
    cboSpan->addItems({tr("Days of the month"), tr("Months of the year")});
    cboSpan->setAccessibleName(tr("Chart span"));
    cboMeasure->setObjectName(QStringLiteral("cboMeasure"));
    cboMeasure->setAccessibleName(tr("Chart measure"));
    cboMeasure->addItems({tr("Time online (hours)"), tr("Data (MB)")});
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblLimit->setObjectName(QStringLiteral("lblLimit"));
    lstSessions->setObjectName(QStringLiteral("lstSessions"));
    lstSessions->setAccessibleName(tr("Connections of the month"));
    lstSessions->setModel(m_model);
    lstSessions->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSessions->setAlternatingRowColors(true);
    lstSessions->verticalHeader()->hide();
    // Fixed row heights and column widths: a long month is laid out without measuring it.
    lstSessions->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    lstSessions->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    lstSessions->horizontalHeader()->setStretchLastSection(true);
    const int digit = fontMetrics().horizontalAdvance(u'0');
    const int widths[] = {22, 11, 10, 10, 22};
    for (int column = 0; column < int(std::size(widths)); ++column)
        lstSessions->setColumnWidth(column, widths[column] * digit);

    auto *top = new QHBoxLayout;
    top->addWidget(cmdPrevious);
    top->addWidget(lblMonth);
    top->addWidget(cmdNext);
    top->addStretch();
    top->addWidget(new QLabel(tr("Chart:"), this));
    top->addWidget(cboSpan);
    top->addWidget(cboMeasure);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblSummary);
    layout->addWidget(lblLimit);
    layout->addWidget(chartView, 3);
    layout->addWidget(lstSessions, 2);
    layout->addLayout(buttons);
    resize(820, 640);
}

void frmUsage::showMonth(QDate month)
{
    const QDate first(month.year(), month.month(), 1);
    const bool sameYear = m_month.isValid() && m_month.year() == first.year();
    m_month = first;
    lblMonth->setText(QLocale().toString(first, QStringLiteral("MMMM yyyy")));
    if (!sameYear)
        loadYear();
    refresh();
}

void frmUsage::loadYear()
{
    const UsageReport::Range year = UsageReport::yearOf(m_month);
    m_year = m_links.store.sessions(year.from, year.to);
}

void frmUsage::refresh()
{
    const UsageReport::Range month = UsageReport::monthOf(m_month);
    m_monthSessions.clear();
    for (const UsageSession &s : std::as_const(m_year)) {
        if (s.startedAt >= month.from && s.startedAt < month.to)
            m_monthSessions.append(s);
    }
    m_model->setSessions(m_monthSessions);
    cmdExport->setEnabled(!m_monthSessions.isEmpty());
    showSummary();
    showChart();
}

void frmUsage::showSummary()
{
    UsageTotals totals;
    for (const UsageSession &s : std::as_const(m_monthSessions)) {
        ++totals.sessions;
        totals.seconds += s.seconds;
        totals.bytesIn += s.bytesIn;
        totals.bytesOut += s.bytesOut;
    }
    lblSummary->setText(
        tr("%1 online, %2 received, %3 sent in %4 connection(s)")
            .arg(UsageReport::duration(totals.seconds), UsageReport::size(totals.bytesIn),
                UsageReport::size(totals.bytesOut))
            .arg(totals.sessions));
    // The limit is this month's, whichever month is shown.
    const QDateTime now = m_links.recorder.now();
    const std::optional<double> used = m_links.limit.used(now);
    lblLimit->setVisible(used.has_value());
    if (used)
        lblLimit->setText(tr("Monthly limit: %1 used this month (%2 %)")
                              .arg(m_links.limit.usedText(now))
                              .arg(qRound(*used * 100)));
}

void frmUsage::showChart()
{
    const bool byDay = cboSpan->currentIndex() == 0;
    const bool time = cboMeasure->currentIndex() == 0;
    const QList<UsageReport::Bucket> buckets
        = byDay ? UsageReport::perDay(m_year, m_month) : UsageReport::perMonth(m_year, m_month);
    QStringList categories;
    QList<double> values;
    // Time under two hours at most reads in minutes: "0.0, 0.1" hours say nothing.
    qint64 longest = 0;
    for (const UsageReport::Bucket &bucket : buckets)
        longest = qMax(longest, bucket.seconds);
    const bool minutes = time && longest < 2 * 3600;
    const double secondsPerUnit = minutes ? 60 : 3600;
    const QString unit = !time ? tr("MB") : minutes ? tr("minutes") : tr("hours");
    for (int i = 0; i < buckets.size(); ++i) {
        values.append(
            time ? double(buckets[i].seconds) / secondsPerUnit : double(buckets[i].bytes) / 1e6);
        categories << (byDay ? QString::number(i + 1)
                             : QLocale().standaloneMonthName(i + 1, QLocale::ShortFormat));
    }
    chartView->setData(
        byDay ? lblMonth->text() : QString::number(m_month.year()), unit, categories, values);
}

QList<double> frmUsage::chartValues() const
{
    return chartView->values();
}

// A row written (the recorder only writes this month's) while this year is shown: this
// month's rows are read again, the earlier months' stand.
void frmUsage::followRecorder()
{
    const QDate today = m_links.recorder.now().toLocalTime().date();
    if (today.year() != m_month.year())
        return;
    const UsageReport::Range month = UsageReport::monthOf(today);
    const UsageReport::Range year = UsageReport::yearOf(today);
    const auto from = std::find_if(m_year.begin(), m_year.end(),
        [&month](const UsageSession &s) { return s.startedAt >= month.from; });
    m_year.erase(from, m_year.end());
    m_year.append(m_links.store.sessions(month.from, year.to));
    refresh();
}

void frmUsage::cmdExport_Click()
{
    DialogService &dialogs = m_links.context.dialogs();
    const QString suggested = QDir::home().filePath(
        QStringLiteral("brisvane-usage-%1.csv").arg(m_month.toString(QStringLiteral("yyyy-MM"))));
    const QString path = dialogs.saveFileName(
        tr("Export Usage"), suggested, tr("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    const QString error = UsageReport::writeCsv(path, m_monthSessions);
    if (!error.isEmpty())
        dialogs.message(DialogService::Icon::Warning, tr("Brisvane"),
            tr("The usage could not be exported to %1: %2")
                .arg(QDir::toNativeSeparators(path), error));
}
