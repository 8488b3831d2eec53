#pragma once

#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <functional>

// The events of a mail control (mMail, ImapMail) as a test reads them, and a request issued
// and waited for in real time (for controls talking to a real or scripted server).
template <class Mail> struct MailSpies {
    explicit MailSpies(Mail &mail)
        : done(&mail, &Mail::Done)
        , errors(&mail, &Mail::Error)
        , status(&mail, &Mail::Status)
    { }

    // Issues the action and waits for its Done or Error; false when one came inside the call
    // or none came at all.
    bool request(const std::function<void()> &action, int timeoutMs = 30000)
    {
        const qsizetype before = done.size() + errors.size();
        action();
        if (done.size() + errors.size() != before)
            return false;
        return QTest::qWaitFor([&] { return done.size() + errors.size() > before; }, timeoutMs);
    }
    int lastError() const { return errors.isEmpty() ? 0 : errors.last().at(0).toInt(); }
    QString lastErrorText() const
    {
        return errors.isEmpty() ? QString() : errors.last().at(1).toString();
    }
    QString statusTexts() const
    {
        QStringList texts;
        for (const auto &args : status)
            texts << args.at(0).toString();
        return texts.join(u'\n');
    }

    QSignalSpy done;
    QSignalSpy errors;
    QSignalSpy status;
};
