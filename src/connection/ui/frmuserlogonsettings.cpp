#include "connection/ui/frmuserlogonsettings.h"

#include "settings/settingsstore.h"

frmUserLogonSettings::frmUserLogonSettings(
    SettingsStore &store, bool logonPromptPending, QWidget *parent)
    : QDialog(parent)
    , m_store(store)
    , m_logonPromptPending(logonPromptPending)
{
    setupUi(this);
    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, txtNumber);
    setTabOrder(txtNumber, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    cmdOK->setDefault(true);
    txtUserName->setText(m_store.get(Keys::UserName));
    txtPassword->setText(m_store.get(Keys::Password));
    txtNumber->setText(m_store.get(Keys::Number));
    connect(cmdOK, &QPushButton::clicked, this, &frmUserLogonSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmUserLogonSettings::cmdCancel_Click);
}

void frmUserLogonSettings::open(SettingsStore &store, bool logonPromptPending, QWidget *parent)
{
    auto *dialog = new frmUserLogonSettings(store, logonPromptPending, parent);
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
    m_store.save(Keys::Password, txtPassword->text());
    m_store.save(Keys::UserName, txtUserName->text());
    accept();
}

void frmUserLogonSettings::cmdCancel_Click()
{
    reject();
}
