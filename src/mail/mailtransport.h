#pragma once

#include "mail/mailstream.h"

#include <QString>

#include <memory>

// The mail transport module (TLS and sockets through Qt Network) is loaded at the first mail
// connection, not at start-up: a program that never checks mail never maps Qt Network and
// what it pulls in (Kerberos, GSSAPI, libproxy). It lies at a fixed place relative to the
// program's folder, the same in the build tree and installed.
namespace MailTransport {

// The module's path: next to the program's folder, or the one useModule() chose.
QString modulePath();

// A new stream. Null when the module cannot be loaded, `failure` then says why, as a mail
// control error; the next call tries again.
std::unique_ptr<MailStream> newStream(MailStream::Failure *failure);

// Streams from now on come from the module at `path` (empty: the usual place again). For
// tests of a missing or broken module.
void useModule(const QString &path);

} // namespace MailTransport
