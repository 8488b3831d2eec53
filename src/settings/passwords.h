#pragma once

#include "settings/settingkeys.h"

#include <QCoro/QCoroTask>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class SettingsModel;

// A keyring of the desktop (the Secret Service, KWallet) as the passwords use it: every call
// answers later, from the event loop, and never blocks it. A locked keyring may ask the user
// to unlock it meanwhile; a refusal is an answer with an error.
class KeyringBackend : public QObject
{
    Q_OBJECT

public:
    struct Answer {
        bool ok = false;
        bool missing = false; // nothing is kept under the name (ok is false)
        QString value;
        QString error;
    };
    using Done = std::function<void(const Answer &)>;

    using QObject::QObject;
    ~KeyringBackend() override;

    // Whether a keyring answers on this desktop at all.
    virtual void probe(std::function<void(bool)> done) = 0;
    virtual void read(const QString &name, Done done) = 0;
    virtual void write(const QString &name, const QString &value, Done done) = 0;
    // Names the entry `name` for the user where the keyring shows its entries (Seahorse,
    // KeePassXC); done in the background, a failure changes nothing else.
    virtual void label(const QString &name, const QString &label);
};

// Where the program keeps the passwords (the dial-up logon password, the five mail slots'):
// in the desktop's keyring when one answers, else in the settings file as always. At start,
// with a keyring, passwords found in the file move into it: each is written, read back and
// compared, and only then emptied in the file, so a failure on the way loses nothing.
//
// Reads are coroutines: they wait (on the clock, never blocking) until the place is known and
// the keyring has answered. Writes go out in the background, the last value of a key winning;
// one the keyring refuses stays in the file so that it is not lost.
class Passwords : public QObject
{
    Q_OBJECT

public:
    enum class Place { Deciding, Keyring, SettingsFile };
    struct Read {
        bool ok = false;
        QString password;
        QString error; // why the keyring gave nothing (locked, access declined)
    };

    Passwords(SettingsModel &settings, Clock &clock, QObject *parent = nullptr);
    ~Passwords() override;

    // Before start(): the keyring to use when it answers. Without one the file is the place
    // from the first, and start() is not needed.
    void setKeyring(std::unique_ptr<KeyringBackend> keyring);
    // Finds the place (asks the keyring whether it is there) and moves the file's passwords.
    void start();
    Place place() const { return m_place; }
    // A line for the user: where the passwords are kept.
    QString placeText() const;

    QCoro::Task<Read> read(SettingKey key);
    void write(const SettingKey &key, const QString &value);
    // `text` with every occurrence of `password` replaced by asterisks.
    static QString masked(QString text, const QString &password);
    // The password as last read or written in this run, or the file's (to blot it out of the
    // texts shown to the user).
    QString known(const SettingKey &key) const;
    // Whether known() has the password already (the file is the place, or it was read).
    bool isKnown(const SettingKey &key) const;
    // Why the password cannot be had now though one is kept (in a keyring that does not
    // answer, or that refused), or empty.
    QString unreadable(const SettingKey &key) const;
    // Reads the password in the background, for known(); fetched() follows.
    void fetch(const SettingKey &key);

    // Every key that holds a password.
    static QList<SettingKey> keys();

Q_SIGNALS:
    void placeChanged();
    // A keyring request ended (for the waits).
    void answered();
    void fetched(const SettingKey &key);

private:
    static QString nameOf(const SettingKey &key);
    // "Brisvane: Home (jane@mail.example.org)": what the keyring shows for the password.
    QString labelOf(const SettingKey &key) const;
    void kept(const SettingKey &key);
    void decide(Place place);
    void migrate(QList<SettingKey> keys);
    void writeNext(const QString &name);
    void keepInFile(const SettingKey &key, const QString &value);
    bool inKeyring(const QString &name) const;
    void markInKeyring(const QString &name);
    QCoro::Task<> fetchInBackground(SettingKey key);
    QCoro::Task<Read> readKeyring(QString name);

    SettingsModel &m_settings;
    Clock &m_clock;
    std::unique_ptr<KeyringBackend> m_keyring;
    Place m_place = Place::SettingsFile;
    QHash<QString, QString> m_known; // by name
    QHash<QString, QString> m_pending; // to write, by name
    QHash<QString, SettingKey> m_pendingKeys;
    QHash<QString, bool> m_writing; // a write of the name is with the keyring
    QSet<QString> m_fetching;
    QHash<QString, QString> m_unreadable; // why a fetch gave nothing, by name
    QHash<QString, QString> m_labels; // given to the keyring this run, by name
    bool m_asking = false; // a read is with the keyring
    QString m_refusal; // why the keyring gave nothing this run (locked, access declined)
    int m_nextRequest = 0;
    QHash<int, KeyringBackend::Answer> m_answers;
};
