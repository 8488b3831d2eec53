#pragma once

#include "shell/dialogservice.h"

class QWidget;

// DialogService answered by real Qt dialogs, titled and iconed as the program asks.
class QtDialogService : public DialogService
{
public:
    // `clock` resumes the steps that await a box.
    explicit QtDialogService(Clock &clock)
        : m_clock(clock)
    { }

    Answer message(Icon icon, const QString &title, const QString &text, Buttons buttons) override;
    QCoro::Task<Answer> ask(
        Icon icon, const QString &title, const QString &text, Buttons buttons) override;
    QString saveFileName(const QString &title, const QString &path, const QString &filter) override;
    QString openFileName(
        const QString &title, const QString &directory, const QString &filter) override;
    std::optional<QString> inputBox(
        const QString &title, const QString &prompt, const QString &defaultText) override;
    bool openDocument(const QString &path) override;

private:
    Clock &m_clock;
};
