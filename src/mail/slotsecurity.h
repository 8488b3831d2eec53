#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class SettingsModel;

// What the user allowed a mail slot's server without TLS, and whether the slot has logged on
// to it with TLS before. Each answer holds for the server text it was given for: a slot whose
// POP/Domain text changes is asked again, and starts without a TLS history.
namespace SlotSecurity {

bool clearTextAllowed(const SettingsModel &settings, int slot);
bool clearTextDeclined(const SettingsModel &settings, int slot);
bool tlsBefore(const SettingsModel &settings, int slot);
// The user's answer to "Send the password unencrypted?" for the slot's server.
void answerClearText(SettingsModel &settings, int slot, bool allowed);
// The slot logged on; with TLS, a later log-on to the same server without it is refused.
void loggedOn(SettingsModel &settings, int slot, bool withTls);
// The SHA-256 (hex) of the certificate the user trusted for the slot's server; empty when none.
QByteArray trustedCertificate(const SettingsModel &settings, int slot);
// The user trusts the certificate with this SHA-256 (hex) for the slot's server.
void trustCertificate(SettingsModel &settings, int slot, const QByteArray &sha256);

// What the user needs to know of a certificate (PEM) to trust it; all empty when it is none.
struct CertificateFacts {
    QString subject;
    QString issuer;
    QByteArray sha256; // hex, as trustCertificate takes it
    QString fingerprint; // the same as "AB:CD:..."
    QDateTime validFrom;
    QDateTime validTo;
};
CertificateFacts certificateFacts(const QByteArray &pem);

} // namespace SlotSecurity
