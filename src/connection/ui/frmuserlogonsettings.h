#pragma once

#include "ui_frmuserlogonsettings.h"

#include <QDialog>

class SettingsStore;

// The user name, password and number that a dial with user settings passes on instead of a
// connection entry. Opened from the Customize dialog (not modal), and once at start-up,
// modally, when the machine has no connection entries (the logon prompt).
class frmUserLogonSettings : public QDialog, public Ui::frmUserLogonSettings
{
    Q_OBJECT

public:
    frmUserLogonSettings(SettingsStore &store, bool logonPromptPending, QWidget *parent = nullptr);

    // Opens the dialog the way its caller needs: modally for the start-up prompt (returns when
    // it closes), otherwise shown and deleted when closed.
    static void open(SettingsStore &store, bool logonPromptPending, QWidget *parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    SettingsStore &m_store;
    bool m_logonPromptPending;
};
