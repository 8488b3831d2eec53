#include "mail/imapidle.h"

#include "clock/timer.h"
#include "mail/imapconnection.h"
#include "mail/imaplogon.h"
#include "mail/mailerror.h"
#include "mail/pophost.h"

ImapIdle::ImapIdle(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_renew(new Timer(clock, this))
{
    connect(m_renew, &Timer::tick, this, &ImapIdle::renew);
}

ImapIdle::~ImapIdle()
{
    stop();
}

void ImapIdle::start()
{
    close();
    const auto endpoint = parseImapHost(m_account.host);
    if (!endpoint) {
        QMetaObject::invokeMethod(
            this,
            [this, host = m_account.host] {
                Q_EMIT stopped(
                    MailError::InvalidHost, tr("\"%1\" is not an IMAP address").arg(host));
            },
            Qt::QueuedConnection);
        return;
    }
    ImapConnection::Options options;
    options.timeoutMs = m_timeoutMs;
    options.caFile = m_caFile;
    options.trustedCertificate = m_trustedCertificate;
    m_connection = new ImapConnection(m_clock, *endpoint, options, {}, this);
    connect(m_connection, &ImapConnection::failed, this, &ImapIdle::end);
    ImapLogOn::Callbacks callbacks;
    callbacks.status = [](const QString &) {};
    callbacks.failed = [this](int number, const QString &text) { end(number, text); };
    callbacks.done = [this](const ImapLogOn::Result &result) {
        if (!result.capabilities.contains("IDLE")) {
            end(MailError::ServerError, tr("%1 does not offer IDLE").arg(m_connection->where()));
            return;
        }
        m_exists = result.messageCount;
        m_connection->onUntagged = [this](const ImapResponse &r) { return onUntagged(r); };
        enterIdle();
    };
    ImapLogOn::Account account{m_account.userName, m_account.password, false};
    account.allowClearText = m_account.allowClearText;
    account.tlsBefore = m_account.tlsBefore;
    m_logOn = std::make_unique<ImapLogOn>(*m_connection, account, callbacks);
    m_logOn->start();
}

void ImapIdle::enterIdle()
{
    m_connection->send(
        "IDLE",
        [this](const ImapResponse &reply) {
            m_idling = false;
            m_connection->setQuiet(false);
            if (!reply.ok()) {
                end(MailError::ServerError,
                    tr("%1 refused IDLE: %2").arg(m_connection->where(), imapStatusWords(reply)));
                return;
            }
            enterIdle();
        },
        {},
        [this](const ImapResponse &) {
            m_idling = true;
            m_connection->setQuiet(true);
            m_renew->setInterval(kRenewMs);
            m_renew->setEnabled(true);
            Q_EMIT idling();
        });
}

void ImapIdle::renew()
{
    m_renew->setEnabled(false);
    if (!m_connection || !m_idling)
        return;
    // The server answers DONE with the IDLE's OK, upon which it is issued again.
    m_connection->setQuiet(false);
    m_connection->sendLine("DONE");
}

// The news IDLE waits for; it comes while the connection is quiet, so it is no command's
// progress.
bool ImapIdle::onUntagged(const ImapResponse &response)
{
    if (response.keyword == "EXPUNGE") {
        m_exists = qMax<qint64>(0, m_exists - 1);
    } else if (response.keyword == "EXISTS") {
        const bool grew = response.number > m_exists;
        m_exists = response.number;
        if (grew)
            Q_EMIT newMail();
    }
    return false;
}

void ImapIdle::end(int number, const QString &text)
{
    close();
    Q_EMIT stopped(number, text);
}

void ImapIdle::stop()
{
    if (m_connection && m_idling) {
        m_connection->sendLine("DONE");
        m_connection->expectBye();
        m_connection->send("LOGOUT", nullptr);
    }
    close();
}

void ImapIdle::close()
{
    m_renew->setEnabled(false);
    m_idling = false;
    if (!m_connection)
        return;
    m_connection->disconnect(this);
    m_connection->onUntagged = nullptr;
    m_connection->closeGracefully();
    m_connection->deleteLater();
    m_connection = nullptr;
}
