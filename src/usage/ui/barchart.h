#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

// The Usage window's bar chart, drawn with QPainter: a title, a value axis with labels at
// round steps (as many decimals as a step needs), one bar per category and the categories
// under them (every n-th where they would not fit). A screen reader gets the title, the unit
// and every value as the chart's description.
class BarChart : public QWidget
{
    Q_OBJECT

public:
    explicit BarChart(QWidget *parent = nullptr);

    // `values` and `categories` pair up; `unit` names the values ("minutes", "MB").
    void setData(const QString &title, const QString &unit, const QStringList &categories,
        const QList<double> &values);
    QList<double> values() const { return m_values; }
    // The value axis as drawn: its top, its step and the labels' decimals.
    struct Scale {
        double top = 1;
        double step = 1;
        int decimals = 0;
    };
    static Scale scaleFor(double largest);

    QSize minimumSizeHint() const override { return {320, 220}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QString m_unit;
    QStringList m_categories;
    QList<double> m_values;
};
