// The check of the single-slot window: log on to the chosen slot, then show its count or
// list its headers; and the list's buttons, which work as in the multi-account check
// without a countdown to hold.

#include "alerts/soundalerts.h"
#include "clock/clock.h"
#include "connection/linecontroller.h"
#include "mail/ui/frmcheckmail2.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/mailshared.h"
#include "mail/ui/messagelist.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"

#include <QPointer>

QCoro::Task<bool> frmCheckMail2::waitForRequest()
{
    const bool alive = co_await m_check.context().clock().until(
        [this] { return m_unloaded || m_answered; }, this, &frmCheckMail2::requestEnded, this);
    co_return alive && !m_unloaded;
}

QCoro::Task<> frmCheckMail2::checkSlot()
{
    const SettingsModel &settings = m_check.settings();
    mMail1->setHost(settings.text(Keys::Domain(m_slot)));
    mMail1->setUserName(settings.text(Keys::MailUserName(m_slot)));
    mMail1->setPassword(settings.text(Keys::MailPassword(m_slot)));
    // The log-on may take the whole time-out: the window says which account it waits for,
    // and Cancel ends the wait.
    Label4->setText(tr("Checking mail on %1......").arg(accountName(m_slot)));
    Label4->show();
    cmdCancel->setEnabled(true);
    mMail1->setSlot(m_slot);
    // The starter cleared the request-done flag.
    m_answered = false;
    mMail1->LogOn();
    const bool answered = co_await waitForRequest();
    if (answered)
        co_await reportSlot();
}

QCoro::Task<> frmCheckMail2::reportSlot()
{
    // After a log-on error the window reports nothing; the error dialog has the word.
    if (m_accountDone > 0 || m_errors > 0)
        co_return;
    m_news = m_check.newsOf(m_slot, *mMail1);
    if (!m_headersMode) {
        co_await reportCount();
    } else if (mMail1->MessageCount() < 1) {
        hide();
        ++m_check.accountDone;
        ++m_accountDone;
    } else {
        co_await listHeaders();
    }
}

// Count-only: the count, the new messages named, and the arrival alert whatever the count
// (a check the user asked for answers with a sound), unless all of it was announced before.
QCoro::Task<> frmCheckMail2::reportCount()
{
    const int count = mMail1->MessageCount();
    Label4->setText(tr("Number of messages waiting on %1: %2").arg(accountName(m_slot)).arg(count));
    Label4->show();
    QList<DesktopNotices::Header> headers;
    if (!m_news.fresh.isEmpty()) {
        const auto read = co_await NewMail::readHeaders(
            *mMail1, m_news.fresh, [this] { m_answered = false; },
            [this] { return waitForRequest(); });
        if (!read)
            co_return;
        headers = *read;
    }
    m_check.announce(m_news, count, headers);
    if (m_check.line().lineConnected() && (count < 1 || !m_news.fresh.isEmpty()))
        PlaySoundAlert(m_check.context(), AlertKind::MailArrive);
}

QCoro::Task<> frmCheckMail2::listHeaders()
{
    Label4->setText(tr("Checking mail on %1......").arg(accountName(m_slot)));
    Label4->show();
    MessageList::RowBatch rows(listMessages, *mMail1);
    do {
        ++m_messageIndex;
        mMail1->setMessageNumber(m_messageIndex);
        // Cleared before the request goes out, so that no answer can be missed.
        m_check.requestDone = 0;
        m_answered = false;
        mMail1->RetrieveHeader();
        const bool fresh = m_news.isFresh(m_messageIndex);
        if (fresh && m_check.line().lineConnected())
            PlaySoundAlert(m_check.context(), AlertKind::MailArrive);
        const bool answered = co_await waitForRequest();
        if (!answered)
            co_return;
        rows.add(*mMail1, fresh);
        mMail1->EndMessage();
    } while (m_messageIndex < mMail1->MessageCount());
    rows.flush();
    finishList();
}

void frmCheckMail2::finishList()
{
    Label4->hide();
    m_messageIndex = 0;
    m_check.announce(m_news, mMail1->MessageCount(),
        MessageList::headers(listMessages, m_news.fresh, DesktopNotices::kMessagesNamed));
    cmdCancel->setEnabled(true);
    ++m_check.accountDone;
    ++m_accountDone;
    setListButtonsEnabled(true);
}

void frmCheckMail2::cmdSelectMessage_Click()
{
    MessageList::selectAll(listMessages, *mMail1, {cmdSelectMessage, cmdDeleteMessage, cmdCancel});
}

QCoro::Task<> frmCheckMail2::cmdDeleteMessage_Click()
{
    QPointer<frmCheckMail2> self(this);
    const bool confirmed
        = co_await MessageList::confirmDeletion(m_check, listMessages, *mMail1, this);
    if (!confirmed || !self || m_unloaded)
        co_return;
    const auto buttons = {cmdSelectMessage, cmdDeleteMessage, cmdCancel};
    for (QPushButton *b : buttons)
        b->setEnabled(false);
    setCursor(Qt::BusyCursor);
    const bool alive = co_await MessageList::deleteTicked(
        m_check.context().clock(), listMessages, *mMail1, this);
    if (!alive || m_unloaded)
        co_return;
    for (QPushButton *b : {cmdSelectMessage, cmdDeleteMessage, cmdCancel})
        b->setEnabled(true);
    unsetCursor();
}
