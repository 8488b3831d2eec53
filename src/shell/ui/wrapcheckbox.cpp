#include "shell/ui/wrapcheckbox.h"

#include "shell/ui/captionindent.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kPreferredWidth = 420;
constexpr int kTextFlags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
} // namespace

WrapCheckBox::WrapCheckBox(QWidget *parent)
    : QCheckBox(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int WrapCheckBox::indicatorWidth() const
{
    return Form::captionIndent(this);
}

int Form::captionIndent(const QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, box)
        + box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, box);
}

int Form::mnemonicFlag(const QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()->styleHint(QStyle::SH_UnderlineShortcut, &option, box)
        ? Qt::TextShowMnemonic
        : Qt::TextHideMnemonic;
}

QRect WrapCheckBox::textRect(int width) const
{
    const int textWidth = qMax(40, width - indicatorWidth());
    const QRect bounds = fontMetrics().boundingRect(
        QRect(0, 0, textWidth, 10000), kTextFlags | Qt::TextShowMnemonic, text());
    return QRect(indicatorWidth(), 0, textWidth, bounds.height());
}

QSize WrapCheckBox::sizeHint() const
{
    return QSize(kPreferredWidth, heightForWidth(kPreferredWidth));
}

// The height comes from heightForWidth at the width the box gets; a minimum taken at the
// narrowest width would make a page of such boxes ask for a scroll bar it does not need.
QSize WrapCheckBox::minimumSizeHint() const
{
    return QSize(160, heightForWidth(kPreferredWidth));
}

int WrapCheckBox::heightForWidth(int width) const
{
    return qMax(textRect(width).height(), QCheckBox::sizeHint().height()) + 2;
}

void WrapCheckBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.rect.setHeight(QCheckBox::sizeHint().height());
    painter.drawControl(QStyle::CE_CheckBox, option);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(
        textRect(width()).translated(0, 1), kTextFlags | Form::mnemonicFlag(this), text());
}

bool WrapCheckBox::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}
