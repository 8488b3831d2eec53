#pragma once

#include "settings/passwords.h"

#include <QDBusConnection>

// The desktop's keyring through QtKeychain: the Secret Service (GNOME Keyring, KeePassXC, ...)
// or KWallet, whichever QtKeychain finds for the desktop. The probe asks the session bus,
// without blocking, whether one of them runs.
class QtKeychainBackend : public KeyringBackend
{
    Q_OBJECT

public:
    explicit QtKeychainBackend(QDBusConnection bus, QObject *parent = nullptr);

    void probe(std::function<void(bool)> done) override;
    void read(const QString &name, Done done) override;
    void write(const QString &name, const QString &value, Done done) override;
    void label(const QString &name, const QString &label) override;

private:
    QDBusConnection m_bus;
};
