#pragma once

#include "mail/mailstream.h"
#include "mail/pophost.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class AnswerLimits;

// An account as a log-on dialogue takes it; the password goes only into the commands.
struct MailAccount {
    QString userName;
    QString password;
    // Never without TLS, not even to this machine.
    bool requireTls = false;
    // Commands may go out before the answer to the one ahead, where the server allows.
    bool pipelining = true;
    // The user agreed to log on to this server without TLS. Without that, a server that is
    // not this machine and offers no TLS gets no credentials.
    bool allowClearText = false;
    // The account logged on with TLS before: a connection without it now is a downgrade
    // (someone on the way may have removed STLS/STARTTLS from the capabilities).
    bool tlsBefore = false;
    // An OAuth2 access token: when set, the log-on offers it (OAUTHBEARER, else XOAUTH2) and
    // never the password.
    QString bearerToken = {};
};

// What a log-on dialogue (POP3, IMAP) reports, each through its own Result.
template <class Result> struct LogOnCallbacks {
    std::function<void(const QString &)> status;
    std::function<void(const Result &)> done;
    std::function<void(int, const QString &)> failed;
};

// What a POP3 and an IMAP connection share: the stream (plain, TLS from the start, or upgraded
// after STLS/STARTTLS), the answer limits on the project's clock, and the end of the
// connection. Each protocol keeps its reader, framing and commands.
//
// Any failure of the connection itself (refused, dropped, TLS, a limit run out, whatever its
// protocol finds wrong) is reported once through failed(), after which the connection is
// dead and takes no more commands.
class MailConnection : public QObject
{
    Q_OBJECT

public:
    struct Options {
        int timeoutMs = 60000;
        int deadlineMs = 300000; // for one whole answer
        QString caFile; // authorities trusted besides the system's; none when empty
        QByteArray trustedCertificate; // SHA-256 (hex) of one accepted without an authority
    };

    ~MailConnection() override;

    bool isEncrypted() const { return m_stream && m_stream->isEncrypted(); }
    // Why the account may not log on over this connection as it stands (number and text), or
    // nothing: TLS is on, or the account allows the clear (see MailAccount).
    std::optional<std::pair<int, QString>> clearTextRefusal(const MailAccount &account) const;
    bool isDead() const { return m_dead; }
    // The certificate (PEM) the TLS handshake refused; empty when none was.
    QByteArray refusedCertificate() const { return m_refusedCertificate; }
    const MailEndpoint &endpoint() const { return m_endpoint; }
    // "host:port", as the texts name the server.
    QString where() const;
    // After the server agreed to STLS or STARTTLS: the TLS handshake; `onReady` runs once it
    // has succeeded.
    void startTls(std::function<void()> onReady);
    // Sends what is queued, then closes (the stream outlives this object until it is done).
    void closeGracefully();
    void abort();

Q_SIGNALS:
    void failed(int number, const QString &text);
    // Words the server asks to be shown to the user (an IMAP [ALERT]) in an answer that fails
    // nothing; one that fails something carries them in the failure's text.
    void alert(const QString &text);

protected:
    // `answer` is what one answer is called in the texts ("reply", "response"); `tlsCommand`
    // the command that upgrades to TLS; `tlsScheme` the scheme of the port that speaks TLS at
    // once ("pop3s", "imaps"), named when a plain connection meets one.
    MailConnection(Clock &clock, MailEndpoint endpoint, Options options, const QString &answer,
        const char *tlsCommand, const char *tlsScheme, QObject *parent);

    // Connects, plain or with TLS from the start; false once that failed.
    bool connectStream();
    void fail(int number, const QString &text);
    // The limits follow awaitingServer(): data moved, an answer begins, a command advanced.
    void updateTimeout();
    void restartDeadline();
    void progressMade();

    // New data from the stream, to read and take answers from.
    virtual void consume(const QByteArray &data) = 0;
    // Bytes read and not yet taken (none may follow the agreement to TLS).
    virtual qsizetype buffered() const = 0;
    // Whether an answer (or a handshake) is awaited, so that the limits count.
    virtual bool awaitingServer() const = 0;
    // Whether the server's greeting has not come yet.
    virtual bool awaitingGreeting() const = 0;
    // The words of a whole status answer read and not yet taken, taking it; nothing when none
    // is in. A server that agreed to TLS and cannot start it after all may say why so.
    virtual QString takeBufferedWords() = 0;
    // The connection has ended: its commands are dropped without their answers.
    virtual void dropCommands() = 0;
    // Before a graceful close: what is queued and not yet written.
    virtual QByteArray unwritten() const { return {}; }
    virtual void streamFailed(const MailStream::Failure &failure);
    // The time-out without progress ran out (see AnswerLimits); by default a failure.
    virtual void stalled(const QString &text);

    const Options &options() const { return m_options; }

    std::unique_ptr<MailStream> m_stream;
    AnswerLimits *m_limits;
    bool m_dead = false;
    bool m_handshaking = false;

private:
    void stop();
    bool failsAsTlsAtOnce(const QByteArray &data);

    MailEndpoint m_endpoint;
    Options m_options;
    const char *m_tlsCommand;
    const char *m_tlsScheme;
    std::function<void()> m_onTlsReady;
    QByteArray m_refusedCertificate;
};
