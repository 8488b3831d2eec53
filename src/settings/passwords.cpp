#include "settings/passwords.h"

#include "clock/clock.h"
#include "mail/pophost.h"
#include "settings/settingsmodel.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcPasswords, "bvane.passwords")

constexpr int kMailSlots = 5;
} // namespace

KeyringBackend::~KeyringBackend() = default;

void KeyringBackend::label(const QString &, const QString &) { }

Passwords::Passwords(SettingsModel &settings, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_clock(clock)
{ }

Passwords::~Passwords() = default;

QList<SettingKey> Passwords::keys()
{
    QList<SettingKey> keys{Keys::Password};
    for (int slot = 1; slot <= kMailSlots; ++slot)
        keys << Keys::MailPassword(slot);
    return keys;
}

// The name a password has in the keyring: its section, which is unique among the keys.
QString Passwords::masked(QString text, const QString &password)
{
    if (!password.isEmpty())
        text.replace(password, QStringLiteral("********"));
    return text;
}

QString Passwords::nameOf(const SettingKey &key)
{
    return key.section;
}

void Passwords::setKeyring(std::unique_ptr<KeyringBackend> keyring)
{
    m_keyring = std::move(keyring);
    m_place = m_keyring ? Place::Deciding : Place::SettingsFile;
}

void Passwords::start()
{
    if (!m_keyring) {
        decide(Place::SettingsFile);
        return;
    }
    m_keyring->probe([this](bool present) {
        if (!present) {
            qCInfo(lcPasswords) << "no keyring answers; passwords stay in the settings file";
            decide(Place::SettingsFile);
            return;
        }
        QList<SettingKey> toMove;
        for (const SettingKey &key : keys()) {
            if (!m_settings.text(key).isEmpty())
                toMove << key;
        }
        migrate(toMove);
    });
}

void Passwords::decide(Place place)
{
    m_place = place;
    Q_EMIT placeChanged();
}

// One password at a time: write, read back, compare, then empty it in the file. A step that
// fails leaves that password in the file (the next start tries again) and goes on.
void Passwords::migrate(QList<SettingKey> keys)
{
    if (keys.isEmpty()) {
        decide(Place::Keyring);
        return;
    }
    const SettingKey key = keys.takeFirst();
    const QString value = m_settings.text(key);
    const auto next = [this, keys] { migrate(keys); };
    m_keyring->write(nameOf(key), value, [=, this](const KeyringBackend::Answer &written) {
        if (!written.ok) {
            qCWarning(lcPasswords)
                << "keeping" << key.section << "in the settings file:" << written.error;
            next();
            return;
        }
        m_keyring->read(nameOf(key), [=, this](const KeyringBackend::Answer &back) {
            if (back.ok && back.value == value) {
                kept(key);
                m_settings.setText(key, QString());
                m_known.insert(nameOf(key), value);
            } else {
                qCWarning(lcPasswords)
                    << "keeping" << key.section << "in the settings file: the keyring gave back"
                    << (back.ok ? QStringLiteral("another value") : back.error);
            }
            next();
        });
    });
}

QString Passwords::placeText() const
{
    switch (m_place) {
    case Place::Keyring: return tr("Passwords are kept in the desktop keyring.");
    case Place::SettingsFile:
        if (!m_settings.text(Keys::PasswordsInKeyring).isEmpty())
            return tr("No desktop keyring answers: the passwords kept in it cannot be read "
                      "now; passwords typed now are kept in the settings file (readable by "
                      "you only).");
        return tr("No desktop keyring answers: passwords are kept in the settings file "
                  "(readable by you only).");
    case Place::Deciding: break;
    }
    return tr("Looking for the desktop keyring...");
}

QCoro::Task<Passwords::Read> Passwords::read(SettingKey key)
{
    // A password still in the file is the one to use until it has moved: a check need not
    // wait for the keyring (which may be asking the user something).
    if (m_place == Place::Deciding && !m_settings.text(key).isEmpty()) {
        m_known.insert(nameOf(key), m_settings.text(key));
        co_return Read{true, m_settings.text(key), {}};
    }
    if (m_place == Place::Deciding) {
        const bool decided = co_await m_clock.until(
            [this] { return m_place != Place::Deciding; }, this, &Passwords::placeChanged, this);
        if (!decided)
            co_return Read{false, {}, tr("The program is ending")};
    }
    const QString name = nameOf(key);
    const QString inFile = m_settings.text(key);
    if (m_place == Place::SettingsFile) {
        if (inFile.isEmpty() && inKeyring(name))
            co_return Read{false, {},
                tr("the password is kept in the desktop keyring, which does not answer")};
        m_known.insert(name, inFile);
        co_return Read{true, inFile, {}};
    }
    // A password the user just typed may still be on its way to the keyring; one the keyring
    // refused (or that did not move yet) is in the file, newer than any in the keyring.
    if (m_pending.contains(name))
        co_return Read{true, m_pending.value(name), {}};
    if (!inFile.isEmpty()) {
        m_known.insert(name, inFile);
        co_return Read{true, inFile, {}};
    }
    co_return co_await readKeyring(name);
}

// One keyring request at a time: a locked keyring asks the user to unlock it for the first,
// and a refusal then answers the others (and every later read of this run) without asking
// again. A keyring that takes a password again has been unlocked: it is asked once more.
QCoro::Task<Passwords::Read> Passwords::readKeyring(QString name)
{
    while (m_asking) {
        const bool alive = co_await m_clock.until(
            [this] { return !m_asking; }, this, &Passwords::answered, this);
        if (!alive)
            co_return Read{false, {}, tr("The program is ending")};
    }
    if (!m_refusal.isEmpty())
        co_return Read{false, {}, m_refusal};
    m_asking = true;
    const int request = ++m_nextRequest;
    m_keyring->read(name, [this, request](const KeyringBackend::Answer &answer) {
        m_answers.insert(request, answer);
        m_asking = false;
        Q_EMIT answered();
    });
    const bool alive = co_await m_clock.until(
        [this, request] { return m_answers.contains(request); }, this, &Passwords::answered, this);
    if (!alive)
        co_return Read{false, {}, tr("The program is ending")};
    const KeyringBackend::Answer answer = m_answers.take(request);
    // A locked keyring whose unlocking was declined gives nothing, as if there were nothing.
    if (answer.missing && inKeyring(name)) {
        m_refusal = tr("the keyring is locked, or access to it was declined");
        co_return Read{false, {}, m_refusal};
    }
    // Nothing in the keyring: no password was ever given.
    if (answer.missing) {
        m_known.insert(name, QString());
        co_return Read{true, {}, {}};
    }
    if (!answer.ok) {
        m_refusal = answer.error;
        co_return Read{false, {}, answer.error};
    }
    m_known.insert(name, answer.value);
    co_return Read{true, answer.value, {}};
}

void Passwords::write(const SettingKey &key, const QString &value)
{
    const QString name = nameOf(key);
    m_known.insert(name, value);
    if (m_place != Place::Keyring) {
        // Before the place is known the file keeps it: a keyring found later takes it over.
        m_settings.setText(key, value);
        return;
    }
    m_pending.insert(name, value);
    m_pendingKeys.insert(name, key);
    if (!m_writing.value(name))
        writeNext(name);
}

void Passwords::writeNext(const QString &name)
{
    if (!m_pending.contains(name)) {
        m_writing.remove(name);
        return;
    }
    const QString value = m_pending.take(name);
    const SettingKey key = m_pendingKeys.value(name);
    m_writing.insert(name, true);
    m_keyring->write(name, value, [this, name, key, value](const KeyringBackend::Answer &written) {
        if (written.ok) {
            m_refusal.clear();
            kept(key);
            if (!m_settings.text(key).isEmpty())
                m_settings.setText(key, QString());
        } else {
            keepInFile(key, value);
            qCWarning(lcPasswords)
                << "the keyring refused" << name << "; kept in the settings file:" << written.error;
        }
        writeNext(name);
    });
}

void Passwords::keepInFile(const SettingKey &key, const QString &value)
{
    m_settings.setText(key, value);
}

QString Passwords::known(const SettingKey &key) const
{
    const QString name = nameOf(key);
    // The file is the truth while it holds the password (others may have written it).
    if (m_place == Place::SettingsFile || !m_settings.text(key).isEmpty())
        return m_settings.text(key);
    return m_known.value(name);
}

bool Passwords::isKnown(const SettingKey &key) const
{
    return m_place == Place::SettingsFile || m_known.contains(nameOf(key))
        || !m_settings.text(key).isEmpty();
}

void Passwords::fetch(const SettingKey &key)
{
    if (m_fetching.contains(nameOf(key)))
        return;
    m_fetching.insert(nameOf(key));
    fetchInBackground(key);
}

QCoro::Task<> Passwords::fetchInBackground(SettingKey key)
{
    const Read result = co_await read(key);
    m_fetching.remove(nameOf(key));
    if (!result.ok)
        m_known.insert(nameOf(key), QString());
    if (result.ok)
        m_unreadable.remove(nameOf(key));
    else
        m_unreadable.insert(nameOf(key), result.error);
    Q_EMIT fetched(key);
}

QString Passwords::unreadable(const SettingKey &key) const
{
    const QString name = nameOf(key);
    if (!m_settings.text(key).isEmpty() || m_pending.contains(name))
        return {};
    if (m_place == Place::SettingsFile && inKeyring(name))
        return tr("Kept in the desktop keyring, which does not answer");
    return m_unreadable.value(name);
}

// Labelled once per run and whenever the account's names changed, not at every write.
void Passwords::kept(const SettingKey &key)
{
    const QString name = nameOf(key);
    markInKeyring(name);
    const QString label = labelOf(key);
    if (m_labels.value(name) == label)
        return;
    m_labels.insert(name, label);
    m_keyring->label(name, label);
}

QString Passwords::labelOf(const SettingKey &key) const
{
    for (int slot = 1; slot <= kMailSlots; ++slot) {
        if (key != Keys::MailPassword(slot))
            continue;
        // The server as the user knows it: the host of any of the box's forms, without a port.
        const QString domain = m_settings.text(Keys::Domain(slot)).trimmed();
        const auto endpoint = isImapAddress(domain) ? parseImapHost(domain) : parsePopHost(domain);
        const QString host = endpoint ? endpoint->host : domain;
        const QString account = m_settings.text(Keys::AccountName(slot));
        return tr("Brisvane: %1 (%2@%3)")
            .arg(account.isEmpty() ? tr("mail slot %1").arg(slot) : account,
                m_settings.text(Keys::MailUserName(slot)), host);
    }
    return tr("Brisvane: dial-up logon (%1)").arg(m_settings.text(Keys::UserName));
}

bool Passwords::inKeyring(const QString &name) const
{
    return m_settings.text(Keys::PasswordsInKeyring).split(u' ').contains(name);
}

void Passwords::markInKeyring(const QString &name)
{
    if (inKeyring(name))
        return;
    const QString names = m_settings.text(Keys::PasswordsInKeyring);
    m_settings.setText(Keys::PasswordsInKeyring, names.isEmpty() ? name : names + u' ' + name);
}
