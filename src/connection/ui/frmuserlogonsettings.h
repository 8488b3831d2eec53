#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmUserLogonSettings;
}

class Passwords;
class SettingsStore;

// The user name, password and number that a dial with user settings passes on instead of a
// connection entry. Opened from the Customize dialog (not modal), and once at start-up,
// modally, when the machine has no connection entries (the logon prompt).
class frmUserLogonSettings : public QDialog
{
    Q_OBJECT

public:
    // With `passwords`, the password is read and written through them (the keyring, where
    // there is one); without, in the store.
    frmUserLogonSettings(SettingsStore &store, bool logonPromptPending, QWidget *parent = nullptr,
        Passwords *passwords = nullptr);
    ~frmUserLogonSettings() override;

    // Opens the dialog the way its caller needs: modally for the start-up prompt (returns when
    // it closes), otherwise shown and deleted when closed.
    static void open(SettingsStore &store, Passwords &passwords, bool logonPromptPending,
        QWidget *parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void loadPassword();

    const std::unique_ptr<Ui::frmUserLogonSettings> m_ui;
    SettingsStore &m_store;
    Passwords *m_passwords;
    bool m_logonPromptPending;
};
