#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class ImapConnection;
class ImapLogOn;
struct ImapResponse;

// Keeps one IMAP account's INBOX open in IDLE and says when a new message arrives (the
// server's EXISTS count grows). The IDLE is renewed every 25 minutes, before servers give up
// on it. A server without IDLE, a refused log-on or a lost connection ends the watch with
// stopped(); start() again to resume.
class ImapIdle : public QObject
{
    Q_OBJECT

public:
    static constexpr int kRenewMs = 25 * 60 * 1000;

    struct Account {
        QString host; // imap:// or imaps://
        QString userName;
        QString password;
        bool allowClearText = false; // as MailAccount
        bool tlsBefore = false;
    };

    explicit ImapIdle(Clock &clock, QObject *parent = nullptr);
    ~ImapIdle() override;

    void setAccount(const Account &account) { m_account = account; }
    const Account &account() const { return m_account; }
    // A file of authorities (PEM) trusted besides the system's; none when empty.
    void setCaCertificates(const QString &caFile) { m_caFile = caFile; }
    // The certificate (SHA-256, hex) the user trusted for the account.
    void setTrustedCertificate(const QByteArray &sha256) { m_trustedCertificate = sha256; }
    void setTimeOutMs(int ms) { m_timeoutMs = ms; }

    void start();
    // Leaves IDLE and logs out; emits nothing.
    void stop();
    bool isRunning() const { return m_connection != nullptr; }
    // True while the server holds the IDLE.
    bool isIdling() const { return m_idling; }

Q_SIGNALS:
    void newMail();
    void idling();
    void stopped(int number, const QString &text);

private:
    void enterIdle();
    void renew();
    bool onUntagged(const ImapResponse &response);
    void end(int number, const QString &text);
    void close();

    Clock &m_clock;
    Account m_account;
    QString m_caFile;
    QByteArray m_trustedCertificate;
    int m_timeoutMs = 60000;
    ImapConnection *m_connection = nullptr;
    std::unique_ptr<ImapLogOn> m_logOn;
    Timer *m_renew;
    qint64 m_exists = 0;
    bool m_idling = false;
};
