#include "usage/ui/usagelimitbox.h"

#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QSpinBox>

namespace {
const QString kHours = QStringLiteral("hours");
const QString kMegabytes = QStringLiteral("megabytes");
} // namespace

UsageLimitBox::UsageLimitBox(AppContext &context, QWidget *parent)
    : QGroupBox(tr("Monthly usage limit (a notice at 80 % and 100 %)"), parent)
    , txtUsageLimit(new QSpinBox(this))
    , cboUsageLimitUnit(new QComboBox(this))
    , m_context(context)
{
    setObjectName(QStringLiteral("UsageLimitBox"));
    txtUsageLimit->setObjectName(QStringLiteral("txtUsageLimit"));
    txtUsageLimit->setRange(Keys::UsageLimitAmount.minimum, Keys::UsageLimitAmount.maximum);
    txtUsageLimit->setSpecialValueText(tr("No limit"));
    txtUsageLimit->setAccessibleName(tr("Monthly usage limit"));
    cboUsageLimitUnit->setObjectName(QStringLiteral("cboUsageLimitUnit"));
    cboUsageLimitUnit->setAccessibleName(tr("Usage limit unit"));
    cboUsageLimitUnit->addItem(tr("hours a month"), kHours);
    cboUsageLimitUnit->addItem(tr("megabytes a month"), kMegabytes);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(txtUsageLimit, 1);
    layout->addWidget(cboUsageLimitUnit, 1);
    const SettingsModel &settings = context.model();
    txtUsageLimit->setValue(settings.count(Keys::UsageLimitAmount));
    const bool megabytes
        = settings.text(Keys::UsageLimitUnit).compare(kMegabytes, Qt::CaseInsensitive) == 0;
    cboUsageLimitUnit->setCurrentIndex(megabytes ? 1 : 0);
}

void UsageLimitBox::save()
{
    SettingsModel &settings = m_context.model();
    settings.setCount(Keys::UsageLimitAmount, txtUsageLimit->value());
    settings.setText(Keys::UsageLimitUnit, cboUsageLimitUnit->currentData().toString());
}
