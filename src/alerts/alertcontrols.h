#pragma once

#include "alerts/soundalerts.h"

#include <QObject>
#include <QPointer>

class AppContext;
class QAbstractButton;
class frmAlert;

// The four alert check boxes and their "Browse" buttons on the Customize dialog.
//
// Construct it with the dialog's widgets: it connects each box's toggled() and each button's
// clicked() to the handlers below. Setting a box's state in code runs its handler as a click
// would (when the state changes); call the handler yourself to store a state that is already
// shown.
class AlertControls : public QObject
{
    Q_OBJECT

public:
    struct Widgets {
        QAbstractButton *chkAlertConnected = nullptr;
        QAbstractButton *chkAlertDisconnected = nullptr;
        QAbstractButton *chkAlertMailArrive = nullptr;
        QAbstractButton *chkAlertMailNoArrive = nullptr;
        QAbstractButton *cmdAlertConnected = nullptr;
        QAbstractButton *cmdAlertDisconnected = nullptr;
        QAbstractButton *cmdAlertMailArrive = nullptr;
        QAbstractButton *cmdAlertMailNoArrive = nullptr;
    };

    AlertControls(AppContext &context, const Widgets &widgets, QObject *parent = nullptr);

    void chkAlertConnected_Click() { checkBoxClicked(AlertKind::Connected); }
    void chkAlertDisconnected_Click() { checkBoxClicked(AlertKind::Disconnected); }
    void chkAlertMailArrive_Click() { checkBoxClicked(AlertKind::MailArrive); }
    void chkAlertMailNoArrive_Click() { checkBoxClicked(AlertKind::MailNoArrive); }

    void cmdAlertConnected_Click() { browseClicked(AlertKind::Connected); }
    void cmdAlertDisconnected_Click() { browseClicked(AlertKind::Disconnected); }
    void cmdAlertMailArrive_Click() { browseClicked(AlertKind::MailArrive); }
    void cmdAlertMailNoArrive_Click() { browseClicked(AlertKind::MailNoArrive); }

    // The open Sound Alerts window, or null.
    frmAlert *alertWindow() const;

private:
    QAbstractButton *checkBox(AlertKind kind) const;
    QAbstractButton *browseButton(AlertKind kind) const;
    void checkBoxClicked(AlertKind kind);
    void browseClicked(AlertKind kind);

    AppContext &m_context;
    Widgets m_widgets;
    QPointer<frmAlert> m_alert;
};
