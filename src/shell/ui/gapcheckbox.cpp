#include "shell/ui/gapcheckbox.h"

#include "shell/ui/captionindent.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int kSpacing = 4;
} // namespace

GapCheckBox::GapCheckBox(QWidget *parent)
    : QCheckBox(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void GapCheckBox::setGaps(const QList<Gap> &gaps)
{
    m_gaps = gaps;
    for (const Gap &gap : gaps) {
        for (QWidget *widget : gap.widgets) {
            widget->setParent(this);
            widget->show();
        }
    }
    updateGeometry();
    layOut(true);
}

QList<GapCheckBox::Piece> GapCheckBox::pieces() const
{
    const QString caption = text();
    QList<Piece> pieces;
    qsizetype from = 0;
    for (const Gap &gap : m_gaps) {
        const qsizetype at = caption.indexOf(gap.afterWord, from);
        if (at < 0)
            continue;
        const qsizetype end = at + gap.afterWord.size();
        pieces.append({caption.mid(from, end - from).trimmed(), gap.widgets});
        from = end;
    }
    pieces.append({caption.mid(from).trimmed(), {}});
    return pieces;
}

QStringList GapCheckBox::shownPieces() const
{
    QStringList shown;
    for (const Piece &piece : pieces())
        shown.append(piece.text);
    return shown;
}

int GapCheckBox::layOut(bool place) const
{
    int x = indicatorWidth();
    for (const Piece &piece : pieces()) {
        x += pieceWidth(piece.text);
        for (QWidget *widget : piece.widgets) {
            x += kSpacing;
            const QSize size = widget->sizeHint().expandedTo(widget->minimumSize());
            if (place)
                widget->setGeometry(x, (height() - size.height()) / 2, size.width(), size.height());
            x += size.width();
        }
        if (!piece.widgets.isEmpty())
            x += kSpacing;
    }
    return x;
}

// The width a piece takes on screen: its mnemonic's "&" is drawn as an underline.
int GapCheckBox::pieceWidth(const QString &text) const
{
    return fontMetrics().size(Qt::TextShowMnemonic, text).width();
}

int GapCheckBox::indicatorWidth() const
{
    return Form::captionIndent(this);
}

QSize GapCheckBox::sizeHint() const
{
    int height = QCheckBox::sizeHint().height();
    for (const Gap &gap : m_gaps) {
        for (const QWidget *widget : gap.widgets)
            height = qMax(height, widget->sizeHint().height() + 2);
    }
    return QSize(layOut(false) + 2, height);
}

void GapCheckBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const int boxHeight = QCheckBox::sizeHint().height();
    option.rect = QRect(0, (height() - boxHeight) / 2, width(), boxHeight);
    painter.drawControl(QStyle::CE_CheckBox, option);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    int x = indicatorWidth();
    for (const Piece &piece : pieces()) {
        const int width = pieceWidth(piece.text);
        painter.drawText(QRect(x, 0, width, height()),
            Qt::AlignLeft | Qt::AlignVCenter | Form::mnemonicFlag(this), piece.text);
        x += width;
        for (const QWidget *widget : piece.widgets)
            x = widget->geometry().right() + 1;
        if (!piece.widgets.isEmpty())
            x += kSpacing;
    }
}

void GapCheckBox::resizeEvent(QResizeEvent *event)
{
    QCheckBox::resizeEvent(event);
    layOut(true);
}

bool GapCheckBox::hitButton(const QPoint &pos) const
{
    for (const Gap &gap : m_gaps) {
        for (const QWidget *widget : gap.widgets) {
            if (widget->geometry().contains(pos))
                return false;
        }
    }
    return rect().contains(pos);
}

bool GapCheckBox::event(QEvent *event)
{
    // A new caption or font moves the gaps.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        updateGeometry();
        layOut(true);
    }
    return QCheckBox::event(event);
}
