#pragma once

#include <QCoro/QCoroTask>
#include <QString>
#include <QStringList>

#include <optional>

// Message boxes, file dialogs and the input box, behind a seam: forms ask through this, the
// program answers with real dialogs, and tests script the next answer.
class DialogService
{
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~DialogService() = default;

    virtual Answer message(
        Icon icon, const QString &title, const QString &text, Buttons buttons = Buttons::Ok)
        = 0;
    // The same box for a step that waits on the clock: the caller suspends until the box is
    // answered while timers and other waits go on, where message() would run an event loop
    // inside it. A service whose boxes answer at once answers through message().
    virtual QCoro::Task<Answer> ask(
        Icon icon, const QString &title, const QString &text, Buttons buttons = Buttons::Ok)
    {
        co_return message(icon, title, text, buttons);
    }
    // An empty string when the user cancels.
    virtual QString openFileName(
        const QString &title, const QString &directory, const QString &filter)
        = 0;
    // Where to save a new file, starting at `path`; an empty string when the user cancels.
    virtual QString saveFileName(const QString &title, const QString &path, const QString &filter)
        = 0;
    // std::nullopt when the user cancels.
    virtual std::optional<QString> inputBox(
        const QString &title, const QString &prompt, const QString &defaultText)
        = 0;
    // Opens a document with the desktop's viewer; false when it could not.
    virtual bool openDocument(const QString &path) = 0;
};
