#include "mail/ui/messagelist.h"

#include "clock/clock.h"
#include "mail/ui/frmdeletemessageconfirmation.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/mailshared.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "ui_frmcheckmail.h"

#include <QCoreApplication>
#include <QListWidget>

namespace {
constexpr double kSecondsBetweenDeletions = 3;
const char *const kDeletingMessages = QT_TRANSLATE_NOOP("MessageList", "Deleting Messages");
// Where a row keeps its sender and subject as the control gave them.
constexpr int kFromRole = Qt::UserRole + 1;
constexpr int kSubjectRole = Qt::UserRole + 2;
} // namespace

namespace MessageList {

QString rowText(const QString &from, const QString &subject, const QString &date)
{
    return from + QStringLiteral("\t\t") + subject + QStringLiteral("\t\t\t") + date;
}

RowBatch::RowBatch(QListWidget *list)
    : m_list(list)
    , m_bold(list->font())
{
    m_bold.setBold(true);
    m_rows.reserve(kRows);
}

RowBatch::~RowBatch()
{
    qDeleteAll(m_rows);
}

void RowBatch::add(const MailControl &control, bool fresh)
{
    auto *row = new QListWidgetItem(rowText(control.From(), control.Subject(), control.Date()));
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(Qt::Unchecked);
    if (fresh) {
        // One font shared by every new row.
        row->setFont(m_bold);
        // The notification names the first new messages only.
        if (m_named < DesktopNotices::kMessagesNamed) {
            ++m_named;
            row->setData(kFromRole, control.From());
            row->setData(kSubjectRole, control.Subject());
        }
    }
    m_rows.append(row);
    if (m_rows.size() >= kRows)
        flush();
}

void RowBatch::flush()
{
    for (QListWidgetItem *row : std::as_const(m_rows))
        m_list->addItem(row);
    m_rows.clear();
}

QList<DesktopNotices::Header> headers(const QListWidget *list, const QList<int> &numbers, int most)
{
    QList<DesktopNotices::Header> found;
    for (int number : numbers) {
        const QListWidgetItem *row = list->item(number - 1);
        if (!row || found.size() >= most)
            break;
        found.append({row->data(kFromRole).toString(), row->data(kSubjectRole).toString()});
    }
    return found;
}

int rowsInUse(const QListWidget *list, const MailControl &control)
{
    return qMin(int(control.MessageCount()), list->count());
}

namespace {
// A deleted message's row has no tick box any more.
bool tickable(const QListWidgetItem *row)
{
    return row->flags().testFlag(Qt::ItemIsUserCheckable);
}
} // namespace

bool anyRowTicked(const QListWidget *list, const MailControl &control)
{
    for (int i = 0; i < rowsInUse(list, control); ++i) {
        if (tickable(list->item(i)) && list->item(i)->checkState() == Qt::Checked)
            return true;
    }
    return false;
}

void setRowsTicked(QListWidget *list, const MailControl &control, bool ticked)
{
    for (int i = 0; i < rowsInUse(list, control); ++i)
        if (tickable(list->item(i)))
            list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

QCoro::Task<bool> confirmDeletion(
    MailShared &check, QListWidget *list, const MailControl &control, QWidget *parent)
{
    if (!anyRowTicked(list, control)) {
        Form::information(check.context().dialogs(),
            QCoreApplication::translate("MessageList", kDeletingMessages),
            QCoreApplication::translate("MessageList",
                "Please select a message(s) by clicking in the appropriate checkbox"));
        co_return false;
    }
    if (check.context().settings().get(Keys::DeleteMessageConfirmation) != SettingValues::TrueText)
        co_return true;
    QPointer<QWidget> window(parent);
    const bool yes
        = co_await frmDeleteMessageConfirmation::ask(check.context(), check.menu(), parent);
    if (!window)
        co_return false;
    if (!yes)
        setRowsTicked(list, control, false);
    co_return yes;
}

QCoro::Task<bool> deleteTicked(
    Clock &clock, QListWidget *list, MailControl &control, QWidget *window)
{
    for (int i = 0; i < rowsInUse(list, control); ++i) {
        if (list->item(i)->checkState() != Qt::Checked)
            continue;
        const bool waited = co_await clock.sleep(kSecondsBetweenDeletions, window);
        if (!waited)
            co_return false;
        QListWidgetItem *row = list->item(i);
        if (!row)
            break;
        if (!tickable(row) || row->checkState() != Qt::Checked)
            continue; // unticked during the pause
        control.setMessageNumber(qint16(i + 1));
        control.DeleteMessage();
        row->setText(QCoreApplication::translate("MessageList", "Message Deleted"));
        row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable);
        row->setData(Qt::CheckStateRole, QVariant());
    }
    co_return true;
}

void selectAll(
    QListWidget *list, const MailControl &control, std::initializer_list<QWidget *> buttons)
{
    for (QWidget *b : buttons)
        b->setEnabled(false);
    setRowsTicked(list, control, true);
    for (QWidget *b : buttons)
        b->setEnabled(true);
}

namespace {
// Distances from the bottom edge as the designed 600 x 293 window has them.
constexpr int kMargin = 8, kBelowList = 87, kStatus = 81, kCountdown = 61, kButtons = 35;
} // namespace

void placeCompactButtons(QWidget &window, std::initializer_list<QWidget *> buttons)
{
    constexpr int kTop = 96, kGap = 4, kLeast = 108, kLeastWidth = 459;
    int width = kMargin;
    for (QWidget *button : buttons)
        width += qMax(kLeast, button->sizeHint().width()) + kGap;
    width = qMax(kLeastWidth, width - kGap + kMargin);
    int right = width - kMargin;
    for (auto it = std::rbegin(buttons); it != std::rend(buttons); ++it) {
        const int w = qMax(kLeast, (*it)->sizeHint().width());
        right -= w;
        (*it)->setGeometry(right, kTop, w, kButtons - kMargin);
        right -= kGap;
    }
    window.setFixedSize(width, kTop + kButtons);
}

void fitToWindow(Ui::frmCheckMail &form, const QSize &size)
{
    const int width = size.width() - 2 * kMargin;
    const int bottom = size.height();
    form.listMessages->setGeometry(
        kMargin, kMargin, width, qMax(60, bottom - kMargin - kBelowList));
    form.Label4->setGeometry(kMargin, bottom - kStatus, width, form.Label4->height());
    form.Label5->setGeometry(kMargin, bottom - kCountdown, width, form.Label5->height());
    form.Label6->move(kMargin, bottom - kCountdown);
    for (QWidget *button : std::initializer_list<QWidget *>{form.cmdSelectMessage,
             form.cmdDeleteMessage, form.cmdMailProgram, form.cmdNextMailAccount, form.cmdCancel})
        button->move(button->x(), bottom - kButtons);
}

} // namespace MessageList
