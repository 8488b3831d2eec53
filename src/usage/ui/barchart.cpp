#include "usage/ui/barchart.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTicks = 5; // labels on the value axis, at most, above zero
constexpr int kMargin = 6;
} // namespace

BarChart::BarChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("chartUsage"));
    setAccessibleName(tr("Usage chart"));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

// A step of 1, 2 or 5 times a power of ten, so that at most kTicks steps reach the largest
// value; the decimals of the labels are those the step has.
BarChart::Scale BarChart::scaleFor(double largest)
{
    if (!(largest > 0))
        return {};
    const double rough = largest / kTicks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            step = factor * power;
            break;
        }
    }
    Scale scale;
    scale.step = step;
    scale.top = std::ceil(largest / step - 1e-9) * step;
    scale.decimals = qBound(0, int(std::ceil(-std::log10(step) - 1e-9)), 3);
    return scale;
}

void BarChart::setData(const QString &title, const QString &unit, const QStringList &categories,
    const QList<double> &values)
{
    m_title = title;
    m_unit = unit;
    m_categories = categories;
    m_values = values;
    QStringList spoken;
    const QLocale locale;
    for (qsizetype i = 0; i < values.size(); ++i)
        spoken << categories.value(i) + QStringLiteral(": ")
                + locale.toString(values.at(i), 'g', 4);
    setAccessibleDescription(title + QStringLiteral(", ") + unit + QStringLiteral(". ")
        + spoken.join(QStringLiteral("; ")));
    update();
}

void BarChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics(font());
    const QLocale locale;
    const Scale scale
        = scaleFor(m_values.isEmpty() ? 0 : *std::max_element(m_values.cbegin(), m_values.cend()));
    QStringList labels;
    int labelWidth = metrics.horizontalAdvance(m_unit);
    for (double at = 0; at <= scale.top + scale.step / 2; at += scale.step) {
        labels << locale.toString(at, 'f', scale.decimals);
        labelWidth = qMax(labelWidth, metrics.horizontalAdvance(labels.constLast()));
    }
    // Title and unit above, labels left, categories below.
    const int line = metrics.height();
    const QRect plot = rect().adjusted(kMargin + labelWidth + kMargin,
        kMargin + 2 * line + line / 2 + 2, -kMargin, -(kMargin + line + 2));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(0, kMargin, width(), line), Qt::AlignHCenter, m_title);
    painter.drawText(QRect(kMargin, kMargin + line, labelWidth, line), Qt::AlignRight, m_unit);
    if (plot.width() <= 0 || plot.height() <= 0 || m_values.isEmpty())
        return;
    const auto yOf
        = [&](double value) { return plot.bottom() - value / scale.top * plot.height(); };
    const QColor grid = palette().color(QPalette::Mid);
    for (int i = 0; i < labels.size(); ++i) {
        const double y = yOf(i * scale.step);
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(kMargin, y - line / 2.0, labelWidth, line),
            Qt::AlignRight | Qt::AlignVCenter, labels.at(i));
    }
    const double slot = double(plot.width()) / m_values.size();
    int widest = 1;
    for (const QString &category : std::as_const(m_categories))
        widest = qMax(widest, metrics.horizontalAdvance(category) + 4);
    const int every = qMax(1, int(std::ceil(widest / slot)));
    const QColor bar = palette().color(QPalette::Highlight);
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        const double left = plot.left() + i * slot;
        const double y = yOf(m_values.at(i));
        painter.fillRect(QRectF(left + slot * 0.15, y, slot * 0.7, plot.bottom() - y), bar);
        if (i % every == 0)
            painter.drawText(QRectF(left - slot, plot.bottom() + 2, 3 * slot, line),
                Qt::AlignHCenter, m_categories.value(i));
    }
}
