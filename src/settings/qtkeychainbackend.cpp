#include "settings/qtkeychainbackend.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Brisvane");

// The names a keyring of the desktop answers to on the session bus.
const QStringList kKeyringNames{QStringLiteral("org.freedesktop.secrets"),
    QStringLiteral("org.kde.kwalletd5"), QStringLiteral("org.kde.kwalletd6")};

bool namesAKeyring(const QStringList &names)
{
    for (const QString &name : kKeyringNames) {
        if (names.contains(name))
            return true;
    }
    return false;
}

KeyringBackend::Answer answerOf(const QKeychain::Job &job)
{
    KeyringBackend::Answer answer;
    answer.ok = job.error() == QKeychain::NoError;
    answer.missing = job.error() == QKeychain::EntryNotFound;
    if (!answer.ok)
        answer.error = job.errorString();
    return answer;
}

} // namespace

QtKeychainBackend::QtKeychainBackend(QDBusConnection bus, QObject *parent)
    : KeyringBackend(parent)
    , m_bus(std::move(bus))
{
    qDBusRegisterMetaType<QMap<QString, QString>>(); // the Secret Service's attributes
}

// Only a keyring that runs counts: one the bus could start would set up a new keyring with
// a password prompt of its own, a surprise on a desktop that never used one. Asked
// asynchronously.
void QtKeychainBackend::probe(std::function<void(bool)> done)
{
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [done] { done(false); }, Qt::QueuedConnection);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("ListNames"));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done](auto *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QStringList> names = *finished;
        done(names.isValid() && namesAKeyring(names.value()));
    });
}

void QtKeychainBackend::read(const QString &name, Done done)
{
    auto *job = new QKeychain::ReadPasswordJob(kService, this);
    job->setKey(name);
    connect(job, &QKeychain::Job::finished, this, [job, done](QKeychain::Job *) {
        KeyringBackend::Answer answer = answerOf(*job);
        if (answer.ok)
            answer.value = job->textData();
        done(answer);
    });
    job->start();
}

// QtKeychain names every entry after the service ("Brisvane", five alike in Seahorse). On the
// Secret Service the entry is found by the attributes QtKeychain gives it (the key as "user",
// the service as "server") and its Label set; KWallet keeps QtKeychain's naming.
void QtKeychainBackend::label(const QString &name, const QString &label)
{
    if (!m_bus.isConnected())
        return;
    const QString secrets = QStringLiteral("org.freedesktop.secrets");
    QDBusMessage search
        = QDBusMessage::createMethodCall(secrets, QStringLiteral("/org/freedesktop/secrets"),
            QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("SearchItems"));
    search << QVariant::fromValue(QMap<QString, QString>{
        {QStringLiteral("user"), name}, {QStringLiteral("server"), kService}});
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(search), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, secrets, label](QDBusPendingCallWatcher *finished) {
            finished->deleteLater();
            const QDBusPendingReply<QList<QDBusObjectPath>, QList<QDBusObjectPath>> found
                = *finished;
            if (!found.isValid())
                return;
            for (const QDBusObjectPath &item : found.argumentAt<0>()) {
                QDBusMessage set = QDBusMessage::createMethodCall(secrets, item.path(),
                    QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
                set << QStringLiteral("org.freedesktop.Secret.Item") << QStringLiteral("Label")
                    << QVariant::fromValue(QDBusVariant(label));
                m_bus.asyncCall(set);
            }
        });
}

void QtKeychainBackend::write(const QString &name, const QString &value, Done done)
{
    auto *job = new QKeychain::WritePasswordJob(kService, this);
    job->setKey(name);
    job->setTextData(value);
    connect(job, &QKeychain::Job::finished, this,
        [job, done](QKeychain::Job *) { done(answerOf(*job)); });
    job->start();
}
