#pragma once

#include "settings/inidocument.h"
#include "settings/settingkeys.h"

#include <QObject>
#include <QString>

// The per-user settings store of application "Brisvane": string values addressed by section
// and key, kept in one INI file under the XDG config directory.
//
// Every SaveSetting is on disk when it returns: the file is written to a temporary file,
// flushed to disk and renamed over the old one, so the program may end at any moment and the
// file still parses and holds every value saved so far. The file is private to the user
// (mode 0600): it holds passwords in plain text.
//
// When the file cannot be read or does not parse, the store says so once through problem(),
// serves defaults, keeps later values in memory, and never overwrites the file it could not
// read.
class SettingsStore : public QObject
{
    Q_OBJECT

public:
    explicit SettingsStore(const QString &filePath, QObject *parent = nullptr);

    // $XDG_CONFIG_HOME/Brisvane/Brisvane.ini
    static QString defaultFilePath();

    QString GetSetting(
        const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    void SaveSetting(const QString &section, const QString &key, const QString &value);

    QString get(const SettingKey &key, const QString &defaultValue = QString()) const;
    void save(const SettingKey &key, const QString &value);
    bool contains(const SettingKey &key) const;

    QString filePath() const { return m_path; }
    // Why the file on disk was not used, or empty when all is well.
    QString problem() const { return m_problem; }
    bool writesToDisk() const { return m_problem.isEmpty(); }

Q_SIGNALS:
    // Every SaveSetting, written or not (tests count them).
    void saved(const QString &section, const QString &key, const QString &value);
    // A SaveSetting that changed the stored value (after saved()).
    void valueChanged(const QString &section, const QString &key);
    // A write to disk failed (disk full, permissions changed underneath).
    void writeFailed(const QString &message);

private:
    void load();
    bool writeFile();

    QString m_path;
    QString m_problem;
    IniDocument m_doc;
};
