#include "connection/ui/frmuserlogonsettings.h"

#include "settings/passwords.h"
#include "settings/settingsstore.h"
#include "ui_frmuserlogonsettings.h"

frmUserLogonSettings::frmUserLogonSettings(
    SettingsStore &store, bool logonPromptPending, QWidget *parent, Passwords *passwords)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmUserLogonSettings>())
    , m_store(store)
    , m_passwords(passwords)
    , m_logonPromptPending(logonPromptPending)
{
    m_ui->setupUi(this);
    setTabOrder(m_ui->txtUserName, m_ui->txtPassword);
    setTabOrder(m_ui->txtPassword, m_ui->txtNumber);
    setTabOrder(m_ui->txtNumber, m_ui->cmdOK);
    setTabOrder(m_ui->cmdOK, m_ui->cmdCancel);
    m_ui->cmdOK->setDefault(true);
    m_ui->txtUserName->setText(m_store.get(Keys::UserName));
    loadPassword();
    m_ui->txtNumber->setText(m_store.get(Keys::Number));
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &frmUserLogonSettings::cmdOK_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmUserLogonSettings::cmdCancel_Click);
}

frmUserLogonSettings::~frmUserLogonSettings() = default;

// From the keyring the password may come later: it fills the box then, unless the user has
// typed meanwhile.
void frmUserLogonSettings::loadPassword()
{
    if (!m_passwords) {
        m_ui->txtPassword->setText(m_store.get(Keys::Password));
        return;
    }
    if (m_passwords->isKnown(Keys::Password)) {
        m_ui->txtPassword->setText(m_passwords->known(Keys::Password));
        return;
    }
    connect(m_passwords, &Passwords::fetched, this, [this](const SettingKey &key) {
        if (key == Keys::Password && !m_ui->txtPassword->isModified())
            m_ui->txtPassword->setText(m_passwords->known(Keys::Password));
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
    m_store.save(Keys::Number, m_ui->txtNumber->text());
    if (m_passwords)
        m_passwords->write(Keys::Password, m_ui->txtPassword->text());
    else
        m_store.save(Keys::Password, m_ui->txtPassword->text());
    m_store.save(Keys::UserName, m_ui->txtUserName->text());
    accept();
}

void frmUserLogonSettings::cmdCancel_Click()
{
    reject();
}
