#include "alerts/alertcontrols.h"

#include "alerts/frmalert.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"

#include <QAbstractButton>

AlertControls::AlertControls(AppContext &context, const Widgets &widgets, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_widgets(widgets)
{
    for (AlertKind kind : SoundAlerts::allKinds) {
        Q_ASSERT(checkBox(kind) && browseButton(kind));
        connect(checkBox(kind), &QAbstractButton::toggled, this,
            [this, kind] { checkBoxClicked(kind); });
        connect(browseButton(kind), &QAbstractButton::clicked, this,
            [this, kind] { browseClicked(kind); });
        // A box that starts unticked is never toggled by the load: its button starts off.
        browseButton(kind)->setEnabled(checkBox(kind)->isChecked());
    }
}

QAbstractButton *AlertControls::checkBox(AlertKind kind) const
{
    switch (kind) {
    case AlertKind::Connected: return m_widgets.chkAlertConnected;
    case AlertKind::Disconnected: return m_widgets.chkAlertDisconnected;
    case AlertKind::MailArrive: return m_widgets.chkAlertMailArrive;
    case AlertKind::MailNoArrive: return m_widgets.chkAlertMailNoArrive;
    }
    return nullptr;
}

QAbstractButton *AlertControls::browseButton(AlertKind kind) const
{
    switch (kind) {
    case AlertKind::Connected: return m_widgets.cmdAlertConnected;
    case AlertKind::Disconnected: return m_widgets.cmdAlertDisconnected;
    case AlertKind::MailArrive: return m_widgets.cmdAlertMailArrive;
    case AlertKind::MailNoArrive: return m_widgets.cmdAlertMailNoArrive;
    }
    return nullptr;
}

void AlertControls::checkBoxClicked(AlertKind kind)
{
    const bool ticked = checkBox(kind)->isChecked();
    m_context.settings().save(SoundAlerts::keys(kind).enabled,
        ticked ? SettingValues::Checked : SettingValues::Unchecked);
    browseButton(kind)->setEnabled(ticked);
}

frmAlert *AlertControls::alertWindow() const
{
    return m_alert;
}

void AlertControls::browseClicked(AlertKind kind)
{
    m_context.settings().save(SoundAlerts::keys(kind).selected, SoundAlerts::SelectedYes);
    // Loading a window that is already open shows that same window.
    QWidget *owner = m_widgets.chkAlertConnected->window();
    if (!m_alert)
        m_alert = new frmAlert(m_context, owner);
    m_alert->showOver(owner);
}
