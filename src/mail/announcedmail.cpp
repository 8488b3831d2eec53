#include "mail/announcedmail.h"

#include "settings/privatefiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

AnnouncedMail::AnnouncedMail(QString folder)
    : m_folder(std::move(folder))
{ }

QString AnnouncedMail::fileOf(const QString &account) const
{
    // Account texts hold any character; the file name holds a digest of it.
    const QByteArray digest
        = QCryptographicHash::hash(account.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QDir(m_folder).filePath(QStringLiteral("announced-") + QString::fromLatin1(digest));
}

const QSet<QString> &AnnouncedMail::announced(const QString &account)
{
    auto found = m_sets.find(account);
    if (found != m_sets.end())
        return *found;
    QSet<QString> set;
    QFile file(fileOf(account));
    if (file.open(QIODevice::ReadOnly)) {
        // The first line names the account; a file of another account (a digest collision)
        // counts as none.
        const QList<QByteArray> lines = file.readAll().split('\n');
        if (!lines.isEmpty() && QString::fromUtf8(lines.first()) == account) {
            for (qsizetype i = 1; i < lines.size(); ++i)
                if (!lines.at(i).isEmpty())
                    set.insert(QString::fromUtf8(lines.at(i)));
        }
    }
    return *m_sets.insert(account, set);
}

QList<int> AnnouncedMail::fresh(const QString &account, const QStringList &identities)
{
    const QSet<QString> &known = announced(account);
    QList<int> numbers;
    for (qsizetype i = 0; i < identities.size(); ++i)
        if (!known.contains(identities.at(i)))
            numbers.append(int(i + 1));
    return numbers;
}

bool AnnouncedMail::remember(const QString &account, const QStringList &identities)
{
    const QSet<QString> now(identities.begin(), identities.end());
    if (announced(account) == now)
        return true;
    m_sets.insert(account, now);
    if (!PrivateFiles::makeFolder(m_folder))
        return false;
    QSaveFile file(fileOf(account));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QByteArray text = account.toUtf8() + '\n';
    for (const QString &identity : identities)
        text += identity.toUtf8() + '\n';
    file.write(text);
    return file.commit();
}
