#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The messages the user has been told of, per account, kept across restarts so that a check
// tells each message once. A message is known by an identity that outlives the session (the
// POP3 UIDL, the IMAP UIDVALIDITY and UID). Each account has a file of its own in the state
// folder, written whole and atomically; it holds only identities the server still listed at
// the last check, so it never grows past the mailbox.
class AnnouncedMail
{
public:
    explicit AnnouncedMail(QString folder);

    // An account is named by one line of text (the user and the server).

    // The message numbers (1 for the first of `identities`) not announced before on `account`.
    QList<int> fresh(const QString &account, const QStringList &identities);
    // The messages of `identities` are all announced now; the others are forgotten. False
    // when the file could not be written (the set still holds for this run).
    bool remember(const QString &account, const QStringList &identities);

    // The file that keeps `account`'s set.
    QString fileOf(const QString &account) const;

private:
    const QSet<QString> &announced(const QString &account);

    QString m_folder;
    QHash<QString, QSet<QString>> m_sets; // read once per account, then kept in step
};
