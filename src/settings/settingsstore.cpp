#include "settings/settingsstore.h"

#include "settings/privatefiles.h"

// A save that does not reach the disk whole (a full disk) keeps the old file, raises
// writeFailed, and leaves the value in memory: the next save writes the whole document again.
// The mode 0600 is set again at load (a file from elsewhere may be open to others), and
// temporary files that a killed save left beside the file are removed then.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// Makes the folder's entries (a rename) durable, as fsync does for a file's data.
bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

// Temporary files a save killed half-way left beside the file ("Brisvane.ini.XXXXXX").
void removeStrayTemporaries(const QFileInfo &info)
{
    // Matched by hand: a name filter would compile (and JIT) a regular expression at every
    // start for this one look.
    const QDir folder = info.absoluteDir();
    const QString prefix = info.fileName() + QLatin1Char('.');
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden)) {
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix))
            QFile::remove(folder.filePath(name));
    }
}
} // namespace

SettingsStore::SettingsStore(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_path(filePath)
{
    load();
}

QString SettingsStore::defaultFilePath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QStringLiteral("/Brisvane/Brisvane.ini");
}

void SettingsStore::load()
{
    const QFileInfo info(m_path);
    removeStrayTemporaries(info);
    if (!info.exists())
        return;
    auto refuse = [this](const QString &why) {
        m_problem = QStringLiteral("The settings file %1 could not be used: %2. Brisvane will "
                                   "run with default settings and will not change that file.")
                        .arg(QDir::toNativeSeparators(m_path), why);
    };
    if (info.isDir())
        return refuse(QStringLiteral("a folder stands in its place"));
    if (info.size() > kMaxFileSize)
        return refuse(QStringLiteral("it is far too large to be a settings file"));
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(file.errorString());
    IniDocument::ParseError error;
    auto doc = IniDocument::parse(file.readAll(), &error);
    if (!doc) {
        const QString where
            = error.line > 0 ? QStringLiteral(" (line %1)").arg(error.line) : QString();
        return refuse(error.reason + where);
    }
    m_doc = std::move(*doc);
    // A file made by hand or by an older version may be readable by others: it holds passwords.
    PrivateFiles::tighten(m_path);
}

QString SettingsStore::GetSetting(
    const QString &section, const QString &key, const QString &defaultValue) const
{
    return m_doc.value(section, key).value_or(defaultValue);
}

void SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    if (!IniDocument::isValidName(section) || !IniDocument::isValidName(key)) {
        qWarning("Settings: refusing a malformed section or key name");
        return;
    }
    const bool changed = m_doc.setValue(section, key, value);
    // An unchanged value leaves the file as it is; it is already on disk.
    if (changed && writesToDisk() && !writeFile())
        Q_EMIT writeFailed(QStringLiteral("Brisvane could not save its settings to %1.")
                               .arg(QDir::toNativeSeparators(m_path)));
    Q_EMIT saved(section, key, value);
    if (changed)
        Q_EMIT valueChanged(section, key);
}

QString SettingsStore::get(const SettingKey &key, const QString &defaultValue) const
{
    return GetSetting(key.section, key.key, defaultValue);
}

void SettingsStore::save(const SettingKey &key, const QString &value)
{
    SaveSetting(key.section, key.key, value);
}

bool SettingsStore::contains(const SettingKey &key) const
{
    return m_doc.value(key.section, key.key).has_value();
}

bool SettingsStore::writeFile()
{
    const QFileInfo info(m_path);
    if (!info.absoluteDir().exists() && !PrivateFiles::makeFolder(info.absolutePath()))
        return false;
    // QSaveFile writes a temporary file beside the target and renames it over the old file: a
    // crash leaves either the old file or the new one. Its own buffered write reports a full
    // disk only when the buffer is flushed at commit, and commit renames even then; so the
    // writes go straight to the file, and the data is synced (where a delayed allocation
    // fails) before the rename is allowed.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    file.setPermissions(kPrivateFile);
    const QByteArray text = m_doc.serialize();
    if (file.write(text) != text.size() || ::fsync(file.handle()) != 0)
        return false; // the temporary file goes with `file`; the old file stays as it was
    if (!file.commit())
        return false;
    return syncFolder(info.absolutePath());
}
