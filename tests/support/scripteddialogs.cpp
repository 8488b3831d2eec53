#include "support/scripteddialogs.h"

int ScriptedDialogs::count(const QString &kind) const
{
    return int(std::count_if(
        m_shown.cbegin(), m_shown.cend(), [&kind](const Shown &s) { return s.kind == kind; }));
}

DialogService::Answer ScriptedDialogs::message(
    Icon icon, const QString &title, const QString &text, Buttons buttons)
{
    m_shown.append({QStringLiteral("message"), icon, title, text});
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Cancel;
}

QString ScriptedDialogs::openFileName(
    const QString &title, const QString &directory, const QString &filter)
{
    Q_UNUSED(directory)
    m_shown.append({QStringLiteral("file"), Icon::None, title, filter});
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

QString ScriptedDialogs::saveFileName(
    const QString &title, const QString &path, const QString &filter)
{
    m_shown.append({QStringLiteral("save"), Icon::None, title, path + u' ' + filter});
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

std::optional<QString> ScriptedDialogs::inputBox(
    const QString &title, const QString &prompt, const QString &defaultText)
{
    Q_UNUSED(defaultText)
    m_shown.append({QStringLiteral("input"), Icon::None, title, prompt});
    return m_inputs.isEmpty() ? std::nullopt : m_inputs.dequeue();
}

bool ScriptedDialogs::openDocument(const QString &path)
{
    m_shown.append({QStringLiteral("open"), Icon::None, QString(), path});
    return m_openResult;
}
