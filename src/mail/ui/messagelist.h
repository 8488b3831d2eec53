#pragma once

#include "alerts/desktopnotices.h"
#include "mail/ui/headerslist.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>

#include <initializer_list>
#include <optional>

class MailShared;
class MailControl;
class QSize;
class QWidget;
namespace Ui {
class frmCheckMail;
}

// The headers list both check windows share: its rows, their tick boxes, and the deletion of
// ticked messages on the server. Row i stands for message i + 1 of the session.
namespace MessageList {

// Rows that stand for messages on the server.
int rowsInUse(const HeadersList *list, const MailControl &control);
bool anyRowTicked(const HeadersList *list, const MailControl &control);
// The message numbers of the ticked rows (1 for the first row).
QList<int> tickedNumbers(const HeadersList *list, const MailControl &control);
// Tells the user to tick a message first, in a box titled `title`.
void askForTicks(MailShared &check, const QString &title);
// Select All: ticks every row, with the window's buttons held off meanwhile.
void selectAll(
    HeadersList *list, const MailControl &control, std::initializer_list<QWidget *> buttons);

// Before a deletion: tells the user to tick a message when none is, and asks for
// confirmation when the user wants to be asked (a No clears the ticks). True to go on; false
// also when `parent`, the window of the list, went away while the question was open.
QCoro::Task<bool> confirmDeletion(
    MailShared &check, HeadersList *list, const MailControl &control, QWidget *parent);
// Deletes the ticked messages as one batch and marks the rows of those the server agreed to
// delete (MailControl::StopDeleting leaves the rest ticked). A message goes by its identity,
// so a mailbox changed since the listing never loses another message in its place; only
// where the server gives no identities by its number. Ends with the rows ticked and those
// deleted, or nothing when `window` (which owns the list and the control) went away.
struct Deleted {
    int ticked = 0;
    int deleted = 0;
};
QCoro::Task<std::optional<Deleted>> deleteTicked(
    Clock &clock, HeadersList *list, MailControl &control, QWidget *window);

// The headers layout of a check window at the given size: the list takes the room the rows
// of labels and buttons below it leave, which keep to the bottom edge.
void fitToWindow(Ui::frmCheckMail &form, const QSize &size);
// The count-only layout: `buttons` in one row at the bottom right, each as wide as its caption
// needs, with the margins of the headers layout; the window sized to fit them.
void placeCompactButtons(QWidget &window, std::initializer_list<QWidget *> buttons);

} // namespace MessageList
