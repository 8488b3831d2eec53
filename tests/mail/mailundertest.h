#pragma once

#include "clock/virtualclock.h"
#include "mail/mmail.h"

#include <QSignalSpy>
#include <QTest>

#include <functional>

// The mail control on a virtual clock that moves only when the test advances it, with its
// three events recorded, driven as the mail dialogs drive it: issue, then wait for the event.
struct MailUnderTest {
    MailUnderTest() { clock.setAutoAdvance(false); }

    // Issues `action`, checks that nothing was raised inside the call, and waits (in real
    // time, for a real peer) until Done or Error comes.
    bool request(const std::function<void()> &action, int waitMs = 30000)
    {
        const qsizetype before = done.size() + errors.size();
        action();
        if (done.size() + errors.size() != before) {
            qWarning("an event was raised inside the call");
            return false;
        }
        return QTest::qWaitFor([&] { return done.size() + errors.size() > before; }, waitMs);
    }
    bool logOn(const QString &host, const QString &user, const QString &password)
    {
        mail.setHost(host);
        mail.setUserName(user);
        mail.setPassword(password);
        const qsizetype doneBefore = done.size();
        return request([this] { mail.LogOn(); }) && done.size() == doneBefore + 1;
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

    VirtualClock clock;
    mMail mail{clock};
    QSignalSpy done{&mail, &mMail::Done};
    QSignalSpy errors{&mail, &mMail::Error};
    QSignalSpy status{&mail, &mMail::Status};
};
