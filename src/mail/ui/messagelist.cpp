#include "mail/ui/messagelist.h"

#include "clock/clock.h"
#include "mail/mailcontrol.h"
#include "mail/ui/frmdeletemessageconfirmation.h"
#include "mail/ui/mailshared.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "ui_frmcheckmail.h"

#include <QCoreApplication>

namespace {
const char *const kDeletingMessages = QT_TRANSLATE_NOOP("MessageList", "Deleting Messages");
} // namespace

namespace MessageList {

int rowsInUse(const HeadersList *list, const MailControl &control)
{
    return qMin(int(control.MessageCount()), list->count());
}

bool anyRowTicked(const HeadersList *list, const MailControl &control)
{
    for (int i = 0; i < rowsInUse(list, control); ++i) {
        if (list->rows().isTicked(i))
            return true;
    }
    return false;
}

QList<int> tickedNumbers(const HeadersList *list, const MailControl &control)
{
    QList<int> numbers;
    for (int i = 0; i < rowsInUse(list, control); ++i) {
        if (list->rows().isTicked(i))
            numbers.append(i + 1);
    }
    return numbers;
}

void askForTicks(MailShared &check, const QString &title)
{
    Form::information(check.context().dialogs(), title,
        QCoreApplication::translate(
            "MessageList", "Please select a message(s) by clicking in the appropriate checkbox"));
}

QCoro::Task<bool> confirmDeletion(
    MailShared &check, HeadersList *list, const MailControl &control, QWidget *parent)
{
    if (!anyRowTicked(list, control)) {
        askForTicks(check, QCoreApplication::translate("MessageList", kDeletingMessages));
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
        list->rows().setAllTicked(rowsInUse(list, control), false);
    co_return yes;
}

QCoro::Task<std::optional<Deleted>> deleteTicked(
    Clock &clock, HeadersList *list, MailControl &control, QWidget *window)
{
    const QList<int> numbers = tickedNumbers(list, control);
    control.DeleteListed(numbers);
    MailControl *answering = &control;
    const bool alive = co_await clock.until([answering] { return !answering->deletionsUnderWay(); },
        answering, &MailControl::DeletionProgress, window);
    if (!alive)
        co_return std::nullopt;
    Deleted result{int(numbers.size()), 0};
    for (int number : std::as_const(numbers)) {
        if (number <= list->count() && control.isDeleted(number)) {
            list->rows().markDeleted(number - 1);
            ++result.deleted;
        }
    }
    co_return result;
}

void selectAll(
    HeadersList *list, const MailControl &control, std::initializer_list<QWidget *> buttons)
{
    for (QWidget *b : buttons)
        b->setEnabled(false);
    list->rows().setAllTicked(rowsInUse(list, control), true);
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
    for (QWidget *button :
        std::initializer_list<QWidget *>{form.cmdSelectMessage, form.cmdDeleteMessage,
            form.cmdMarkRead, form.cmdMailProgram, form.cmdNextMailAccount, form.cmdCancel})
        button->move(button->x(), bottom - kButtons);
}

} // namespace MessageList
