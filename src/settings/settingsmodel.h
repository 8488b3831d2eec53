#pragma once

#include "settings/settingkeys.h"

#include <QObject>
#include <QString>

class SettingsStore;

// The program's settings as typed values over the settings store. Each key of the catalogue
// (settingkeys.h) carries its type and default, so every reader of a setting applies the same
// rule: a value that is absent, or stored in a form its type does not take, reads as the key's
// default. A check box counts as on only when it is checked ("1"): the grey third state and
// anything unreadable are off.
//
// Controllers ask the model, never a window; windows load from it and save to it. changed()
// follows every write that changed a value, through the model or straight to the store, so
// whoever depends on a setting follows it without polling.
class SettingsModel : public QObject
{
    Q_OBJECT

public:
    explicit SettingsModel(SettingsStore &store, QObject *parent = nullptr);

    SettingsStore &store() const { return m_store; }

    // The stored text, or the key's default.
    QString text(const SettingKey &key) const;
    // A check box (checked) or a truth ("True"); other types: whether the text is set.
    bool isOn(const SettingKey &key) const;
    // A check box's state, 0 to 2, or the default's.
    int checkState(const SettingKey &key) const;
    // A count within the key's range, or the default (the range's minimum without one).
    int count(const SettingKey &key) const;

    void setText(const SettingKey &key, const QString &value);
    // Stores a check box as "1"/"0" and a truth as "True"/"False".
    void setOn(const SettingKey &key, bool on);
    void setCheckState(const SettingKey &key, int state);
    // Stores a count; one outside the key's range is not stored.
    void setCount(const SettingKey &key, int value);

Q_SIGNALS:
    // A stored value changed. The key names section and key only (no type, no default):
    // compare it with == and read the value through the catalogue's key.
    void changed(const SettingKey &key);

private:
    SettingsStore &m_store;
};
