#include "shell/ui/formhelpers.h"

#include "settings/conversions.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/dialogservice.h"

#include <QLabel>

namespace Form {

void loadCheck(QCheckBox *box, const SettingsStore &store, const SettingKey &key)
{
    setCheckValue(box, readCheckState(store, key, checkValue(box)));
}

void followCheck(QCheckBox *box, const SettingsModel &settings, const SettingKey &key)
{
    setCheckValue(box, settings.checkState(key));
    QObject::connect(
        &settings, &SettingsModel::changed, box, [box, &settings, key](const SettingKey &changed) {
            if (changed == key)
                setCheckValue(box, settings.checkState(key));
        });
}

void followCount(QLabel *label, const SettingsModel &settings, const SettingKey &key)
{
    label->setText(QString::number(settings.count(key)));
    QObject::connect(&settings, &SettingsModel::changed, label,
        [label, &settings, key](const SettingKey &changed) {
            if (changed == key)
                label->setText(QString::number(settings.count(key)));
        });
}

void information(DialogService &dialogs, const QString &title, const QString &text)
{
    dialogs.message(DialogService::Icon::Information, title, text);
}

} // namespace Form
