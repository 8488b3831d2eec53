#include "shell/ui/qtdialogservice.h"

#include "clock/clock.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>

namespace {

QMessageBox::Icon toQt(DialogService::Icon icon)
{
    switch (icon) {
    case DialogService::Icon::Information: return QMessageBox::Information;
    case DialogService::Icon::Warning: return QMessageBox::Warning;
    case DialogService::Icon::Critical: return QMessageBox::Critical;
    case DialogService::Icon::Question: return QMessageBox::Question;
    case DialogService::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(DialogService::Buttons buttons)
{
    switch (buttons) {
    case DialogService::Buttons::Ok: return QMessageBox::Ok;
    case DialogService::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case DialogService::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case DialogService::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The window a box belongs to: the one the user works in. With a parent the box stands over
// its window (a compositor that places windows itself puts a parentless box anywhere).
QWidget *boxParent()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// What the user's button means to the caller: a box ended any other way (OK, or closed
// without a button) answers OK where it offers OK, Cancel otherwise.
DialogService::Answer answerOf(int button, DialogService::Buttons buttons)
{
    using Answer = DialogService::Answer;
    switch (button) {
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default:
        return buttons == DialogService::Buttons::Ok || buttons == DialogService::Buttons::OkCancel
            ? Answer::Ok
            : Answer::Cancel;
    }
}

} // namespace

DialogService::Answer QtDialogService::message(
    Icon icon, const QString &title, const QString &text, Buttons buttons)
{
    QMessageBox box(toQt(icon), title, text, toQt(buttons), boxParent());
    return answerOf(box.exec(), buttons);
}

QCoro::Task<DialogService::Answer> QtDialogService::ask(
    Icon icon, const QString &title, const QString &text, Buttons buttons)
{
    auto *box = new QMessageBox(toQt(icon), title, text, toQt(buttons), boxParent());
    box->setWindowModality(Qt::ApplicationModal);
    QPointer<QMessageBox> self(box);
    box->open();
    // Ends early, with Cancel, when the window the box stands over goes away with it.
    const bool stayed
        = co_await m_clock.until([box] { return !box->isVisible(); }, box, &QDialog::finished, box);
    if (!stayed || !self)
        co_return Answer::Cancel;
    const int result = box->result();
    box->deleteLater();
    co_return answerOf(result, buttons);
}

// A dialog told no folder starts in the user's home, not in whatever folder the program was
// started from (the session's, for an autostarted tray program).
QString QtDialogService::openFileName(
    const QString &title, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(
        boxParent(), title, directory.isEmpty() ? QDir::homePath() : directory, filter);
}

QString QtDialogService::saveFileName(
    const QString &title, const QString &path, const QString &filter)
{
    return QFileDialog::getSaveFileName(boxParent(), title, path, filter);
}

std::optional<QString> QtDialogService::inputBox(
    const QString &title, const QString &prompt, const QString &defaultText)
{
    bool ok = false;
    const QString text
        = QInputDialog::getText(boxParent(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

bool QtDialogService::openDocument(const QString &path)
{
    // The help file is HTML under its old name: the desktop would look for a viewer of the old
    // help format, so an HTML document opens in a help window of our own.
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchContent);
    if (!type.inherits(QStringLiteral("text/html")))
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    // A window of its own over the dialog, closed by Escape as a dialog is.
    auto *viewer = new QTextBrowser(boxParent());
    viewer->setWindowFlag(Qt::Window);
    QObject::connect(new QShortcut(QKeySequence::Cancel, viewer), &QShortcut::activated, viewer,
        &QWidget::close);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    viewer->setObjectName(QStringLiteral("helpViewer"));
    viewer->setOpenExternalLinks(true);
    viewer->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    viewer->setWindowTitle(viewer->documentTitle());
    viewer->resize(640, 480);
    viewer->show();
    return true;
}
