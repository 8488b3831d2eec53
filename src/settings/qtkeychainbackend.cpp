#include "settings/qtkeychainbackend.h"

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
{ }

// Names that run now, then names the bus can start: both asked asynchronously.
void QtKeychainBackend::probe(std::function<void(bool)> done)
{
    if (!m_bus.isConnected()) {
        QMetaObject::invokeMethod(
            this, [done] { done(false); }, Qt::QueuedConnection);
        return;
    }
    const auto ask = [this](const QString &method) {
        const QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), method);
        return new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    };
    auto *running = ask(QStringLiteral("ListNames"));
    connect(running, &QDBusPendingCallWatcher::finished, this, [this, ask, done](auto *watcher) {
        watcher->deleteLater();
        const QDBusPendingReply<QStringList> names = *watcher;
        if (names.isValid() && namesAKeyring(names.value())) {
            done(true);
            return;
        }
        auto *startable = ask(QStringLiteral("ListActivatableNames"));
        connect(startable, &QDBusPendingCallWatcher::finished, this, [done](auto *second) {
            second->deleteLater();
            const QDBusPendingReply<QStringList> activatable = *second;
            done(activatable.isValid() && namesAKeyring(activatable.value()));
        });
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

void QtKeychainBackend::write(const QString &name, const QString &value, Done done)
{
    auto *job = new QKeychain::WritePasswordJob(kService, this);
    job->setKey(name);
    job->setTextData(value);
    connect(job, &QKeychain::Job::finished, this,
        [job, done](QKeychain::Job *) { done(answerOf(*job)); });
    job->start();
}
