#include "connection/ui/frmuserlogonsettings.h"

#include "settings/passwords.h"
#include "settings/settingsstore.h"

frmUserLogonSettings::frmUserLogonSettings(
    SettingsStore &store, bool logonPromptPending, QWidget *parent, Passwords *passwords)
    : QDialog(parent)
    , m_store(store)
    , m_passwords(passwords)
    , m_logonPromptPending(logonPromptPending)
{
    setupUi(this);
    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, txtNumber);
    setTabOrder(txtNumber, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    cmdOK->setDefault(true);
    txtUserName->setText(m_store.get(Keys::UserName));
    loadPassword();
    txtNumber->setText(m_store.get(Keys::Number));
    connect(cmdOK, &QPushButton::clicked, this, &frmUserLogonSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmUserLogonSettings::cmdCancel_Click);
}

// From the keyring the password may come later: it fills the box then, unless the user has
// typed meanwhile.
void frmUserLogonSettings::loadPassword()
{
    if (!m_passwords) {
        txtPassword->setText(m_store.get(Keys::Password));
        return;
    }
    if (m_passwords->isKnown(Keys::Password)) {
        txtPassword->setText(m_passwords->known(Keys::Password));
        return;
    }
    connect(m_passwords, &Passwords::fetched, this, [this](const SettingKey &key) {
        if (key == Keys::Password && !txtPassword->isModified())
            txtPassword->setText(m_passwords->known(Keys::Password));
    });
    m_passwords->fetch(Keys::Password);
}

void frmUserLogonSettings::open(
    SettingsStore &store, Passwords &passwords, bool logonPromptPending, QWidget *parent)
{
    auto *dialog = new frmUserLogonSettings(store, logonPromptPending, parent, &passwords);
    if (logonPromptPending) {
        dialog->exec();
        delete dialog;
        return;
    }
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void frmUserLogonSettings::cmdOK_Click()
{
    // Stored exactly as typed: no trimming, the password in plain text.
    m_store.save(Keys::Number, txtNumber->text());
    if (m_passwords)
        m_passwords->write(Keys::Password, txtPassword->text());
    else
        m_store.save(Keys::Password, txtPassword->text());
    m_store.save(Keys::UserName, txtUserName->text());
    accept();
}

void frmUserLogonSettings::cmdCancel_Click()
{
    reject();
}
