#include "mail/ui/headerslist.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

namespace {
// Each field in the column the header gives it, after the tick box.
class ColumnsDelegate : public QStyledItemDelegate
{
public:
    ColumnsDelegate(QHeaderView *header, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_header(header)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        const QStringList fields = HeadersList::fields(index.data().toString());
        QStyleOptionViewItem rest(option);
        initStyleOption(&rest, index);
        rest.text.clear();
        const QWidget *view = option.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        // Background, selection and tick box as the list draws them, without the text.
        style->drawControl(QStyle::CE_ItemViewItem, &rest, painter, view);
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &rest, view);
        const QPalette::ColorRole role
            = (option.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
        painter->save();
        painter->setPen(option.palette.color(role));
        for (int column = 0; column < fields.size(); ++column) {
            const bool last = column == fields.size() - 1 || column + 1 >= m_header->count();
            int left = column == 0 ? text.left() : m_header->sectionViewportPosition(column) + 4;
            int right
                = last ? option.rect.right() : m_header->sectionViewportPosition(column + 1) - 4;
            const QRect cell(left, text.top(), qMax(0, right - left), text.height());
            const QString field = last ? fields.mid(column).join(QLatin1Char(' ')) : fields[column];
            painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                option.fontMetrics.elidedText(field, Qt::ElideRight, cell.width()));
            if (last)
                break;
        }
        painter->restore();
    }

private:
    QHeaderView *m_header;
};
} // namespace

HeadersList::HeadersList(QWidget *parent)
    : QListWidget(parent)
    , m_header(new QHeaderView(Qt::Horizontal, this))
{
    m_header->setObjectName(QStringLiteral("listMessagesHeader"));
    auto *model = new QStandardItemModel(0, 3, m_header);
    m_header->setModel(model);
    m_header->setSectionResizeMode(QHeaderView::Interactive);
    m_header->setStretchLastSection(true);
    m_header->setSectionsClickable(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(m_header, &QHeaderView::sectionResized, viewport(), qOverload<>(&QWidget::update));
    setItemDelegate(new ColumnsDelegate(m_header, this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    placeHeader();
}

void HeadersList::setHeadings(const QList<QLabel *> &headings)
{
    auto *model = static_cast<QStandardItemModel *>(m_header->model());
    for (int column = 0; column < headings.size() && column < model->columnCount(); ++column) {
        model->setHeaderData(column, Qt::Horizontal, headings[column]->text());
        headings[column]->setVisible(false);
    }
    // The sender and the subject take most of the room at first; the date the rest.
    m_header->resizeSection(0, qMax(120, viewport()->width() * 3 / 10));
    m_header->resizeSection(1, qMax(160, viewport()->width() * 9 / 20));
}

QStringList HeadersList::fields(const QString &rowText)
{
    return rowText.split(QLatin1Char('\t'), Qt::SkipEmptyParts);
}

void HeadersList::placeHeader()
{
    const int height = m_header->sizeHint().height();
    setViewportMargins(0, height, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - height, area.width(), height);
}

void HeadersList::resizeEvent(QResizeEvent *event)
{
    QListWidget::resizeEvent(event);
    placeHeader();
}

bool HeadersList::viewportEvent(QEvent *event)
{
    // The header keeps to the list's font and style changes.
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        placeHeader();
    return QListWidget::viewportEvent(event);
}
