#pragma once

#include "shell/dialogservice.h"

#include <QList>
#include <QQueue>

// A DialogService for tests: records every dialog asked for and gives the scripted answers,
// in order. An unscripted message box answers Ok (or Cancel when it has no Ok); an
// unscripted file dialog or input box is cancelled.
class ScriptedDialogs : public DialogService
{
public:
    struct Shown {
        QString kind; // "message", "file", "save", "input", "open"
        Icon icon = Icon::None;
        QString title;
        QString text;
    };

    void answerNext(Answer answer) { m_answers.enqueue(answer); }
    void chooseFileNext(const QString &path) { m_files.enqueue(path); }
    void inputNext(const std::optional<QString> &text) { m_inputs.enqueue(text); }
    void setOpenDocumentResult(bool ok) { m_openResult = ok; }

    const QList<Shown> &shown() const { return m_shown; }
    int count(const QString &kind) const;
    void clear() { m_shown.clear(); }

    Answer message(Icon icon, const QString &title, const QString &text, Buttons buttons) override;
    QString openFileName(
        const QString &title, const QString &directory, const QString &filter) override;
    // Answers from the same queue as openFileName(); recorded as "save".
    QString saveFileName(const QString &title, const QString &path, const QString &filter) override;
    std::optional<QString> inputBox(
        const QString &title, const QString &prompt, const QString &defaultText) override;
    bool openDocument(const QString &path) override;

private:
    QList<Shown> m_shown;
    QQueue<Answer> m_answers;
    QQueue<QString> m_files;
    QQueue<std::optional<QString>> m_inputs;
    bool m_openResult = true;
};
