#pragma once

#include <QString>

#include <optional>

// Where a mail slot's server text points: the host to dial, its port, and whether TLS starts
// with the connection (pop3s) or by STLS after the greeting.
struct PopEndpoint {
    QString host;
    quint16 port = 110;
    bool implicitTls = false;

    bool operator==(const PopEndpoint &) const = default;
};

// Reads "name", "name:port", "pop3://name[:port]" and "pop3s://name[:port]" (IPv6 literals in
// brackets). A plain name on port 995 means implicit TLS, as that port carries nothing else.
// Returns nothing for text that names no host.
std::optional<PopEndpoint> parsePopHost(const QString &text);
