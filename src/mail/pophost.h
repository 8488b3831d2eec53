#pragma once

#include <QString>

#include <optional>

// Where a mail slot's server text points: the host to dial, its port, and whether TLS starts
// with the connection (pop3s, imaps) or by STLS or STARTTLS after the greeting.
struct MailEndpoint {
    QString host;
    quint16 port = 110;
    bool implicitTls = false;

    bool operator==(const MailEndpoint &) const = default;
};

// Reads "name", "name:port", "pop3://name[:port]" and "pop3s://name[:port]" (IPv6 literals in
// brackets). A plain name on port 995 means implicit TLS, as that port carries nothing else.
// Returns nothing for text that names no host.
std::optional<MailEndpoint> parsePopHost(const QString &text);

// Whether the text names an IMAP account ("imap://..." or "imaps://..."); anything else is
// taken as POP3.
bool isImapAddress(const QString &text);

// Reads "imap://name[:port]" (143, STARTTLS when offered) and "imaps://name[:port]" (993,
// implicit TLS). Returns nothing for other text.
std::optional<MailEndpoint> parseImapHost(const QString &text);
