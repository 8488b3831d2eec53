#include "mail/slotsecurity.h"

#include "settings/settingkeys.h"
#include "settings/settingsmodel.h"

#include <QCryptographicHash>
#include <QSslCertificate>

namespace {

// The server as the answers name it: the POP/Domain text, without case or outer spaces.
QString server(const SettingsModel &settings, int slot)
{
    return settings.text(Keys::Domain(slot)).trimmed().toLower();
}

bool holdsServer(const SettingsModel &settings, const SettingKey &key, int slot)
{
    const QString host = server(settings, slot);
    return !host.isEmpty() && settings.text(key) == host;
}

} // namespace

namespace SlotSecurity {

bool clearTextAllowed(const SettingsModel &settings, int slot)
{
    return holdsServer(settings, Keys::ClearTextAllowed(slot), slot);
}

bool clearTextDeclined(const SettingsModel &settings, int slot)
{
    return holdsServer(settings, Keys::ClearTextDeclined(slot), slot);
}

bool tlsBefore(const SettingsModel &settings, int slot)
{
    return holdsServer(settings, Keys::TlsSeen(slot), slot);
}

void answerClearText(SettingsModel &settings, int slot, bool allowed)
{
    const QString host = server(settings, slot);
    settings.setText(Keys::ClearTextAllowed(slot), allowed ? host : QString());
    settings.setText(Keys::ClearTextDeclined(slot), allowed ? QString() : host);
}

void loggedOn(SettingsModel &settings, int slot, bool withTls)
{
    if (withTls && !tlsBefore(settings, slot))
        settings.setText(Keys::TlsSeen(slot), server(settings, slot));
}

QByteArray trustedCertificate(const SettingsModel &settings, int slot)
{
    const QString stored = settings.text(Keys::TrustedCertificate(slot));
    const QString host = server(settings, slot);
    if (host.isEmpty() || stored.section(u' ', 1) != host)
        return {};
    return stored.section(u' ', 0, 0).toLatin1();
}

void trustCertificate(SettingsModel &settings, int slot, const QByteArray &sha256)
{
    settings.setText(Keys::TrustedCertificate(slot),
        QString::fromLatin1(sha256) + u' ' + server(settings, slot));
}

CertificateFacts certificateFacts(const QByteArray &pem)
{
    const QSslCertificate certificate = QSslCertificate::fromData(pem).value(0);
    if (certificate.isNull())
        return {};
    CertificateFacts facts{certificate.subjectDisplayName(), certificate.issuerDisplayName(),
        certificate.digest(QCryptographicHash::Sha256).toHex(), {}, certificate.effectiveDate(),
        certificate.expiryDate()};
    const QByteArray upper = facts.sha256.toUpper();
    for (qsizetype i = 0; i < upper.size(); i += 2)
        facts.fingerprint
            += (i ? QStringLiteral(":") : QString()) + QString::fromLatin1(upper.mid(i, 2));
    return facts;
}

} // namespace SlotSecurity
