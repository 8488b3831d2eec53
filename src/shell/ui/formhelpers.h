#pragma once

#include "settings/settingkeys.h"

#include <QCheckBox>
#include <QString>

class DialogService;
class QLabel;
class SettingsModel;
class SettingsStore;

// Small helpers the forms share.
namespace Form {

// A check box's value as the program stores it: 0 unchecked, 1 checked, 2 grey.
inline int checkValue(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    case Qt::Unchecked: break;
    }
    return 0;
}

// Setting a box to a different value runs its click handler (connected to toggled).
inline void setCheckValue(QCheckBox *box, int value)
{
    box->setCheckState(value == 1 ? Qt::Checked
            : value == 2          ? Qt::PartiallyChecked
                                  : Qt::Unchecked);
}

inline QString checkText(const QCheckBox *box)
{
    return QString::number(checkValue(box));
}

// Loads a box from its key, defaulting to the box's current state; a stored value that is no
// check state leaves the box as it is.
void loadCheck(QCheckBox *box, const SettingsStore &store, const SettingKey &key);

// Shows the box's setting (grey too) now and whenever the setting changes; the box's own
// click handler stores what the user sets.
void followCheck(QCheckBox *box, const SettingsModel &settings, const SettingKey &key);
// Shows a spinner's count in its buddy label now and whenever the setting changes.
void followCount(QLabel *label, const SettingsModel &settings, const SettingKey &key);

// The information boxes: title, text, OK, nothing else.
void information(DialogService &dialogs, const QString &title, const QString &text);

// Lines of a message joined as the program has always joined them.
inline const QString kLineBreak = QStringLiteral("\r\n");

} // namespace Form
