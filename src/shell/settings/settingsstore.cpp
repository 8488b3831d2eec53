#include "shell/settings/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
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
    if (!info.absoluteDir().exists()) {
        if (!QDir().mkpath(info.absolutePath()))
            return false;
        QFile::setPermissions(info.absolutePath(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    // QSaveFile writes a temporary file beside the target, syncs it to disk on commit and
    // renames it over the old file: a crash leaves either the old file or the new one.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(kPrivateFile);
    const QByteArray text = m_doc.serialize();
    if (file.write(text) != text.size())
        return false;
    return file.commit();
}
