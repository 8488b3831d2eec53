#include "alerts/frmpreferences.h"

#include "alerts/desktopnotices.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/settings/conversions.h"
#include "shell/settings/settingsstore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

struct frmPreferences::Row {
    QCheckBox *box;
    SettingKey boxState;
    SettingKey feature;
    QString tool;
};

frmPreferences::frmPreferences(AppContext &context, MenuTools &menu,
    std::function<void(bool)> enableStartupBoxes, QWidget *parent)
    : QDialog(parent)
    , chkCustomizeBrisvaneDialogonStartup(
          new QCheckBox(QStringLiteral("Show Customize Brisvane Dialog on Startup"), this))
    , chkCustomizeBrisvaneDialogReminder(
          new QCheckBox(QStringLiteral("Show Customize Brisvane Dialog Reminder"), this))
    , chkCloseMailProgramMessageDialog(
          new QCheckBox(QStringLiteral("Show Close Mail Program Message Dialog"), this))
    , chkDeleteMessageConfirmationDialog(
          new QCheckBox(QStringLiteral("Show Delete Message Confirmation Dialog"), this))
    , chkDesktopNotifications(new QCheckBox(QStringLiteral("Show desktop notifications"), this))
    , cmdOK(new QPushButton(QStringLiteral("&OK"), this))
    , cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this))
    , m_context(context)
    , m_menu(menu)
    , m_enableStartupBoxes(std::move(enableStartupBoxes))
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    auto *layout = new QVBoxLayout(this);
    for (const Row &row : rows()) {
        // Ticked when nothing is stored.
        row.box->setChecked(readCheckState(context.settings(), row.boxState, 1) == 1);
        layout->addWidget(row.box);
    }
    chkCustomizeBrisvaneDialogonStartup->setObjectName(
        QStringLiteral("chkCustomizeBrisvaneDialogonStartup"));
    chkCustomizeBrisvaneDialogReminder->setObjectName(
        QStringLiteral("chkCustomizeBrisvaneDialogReminder"));
    chkCloseMailProgramMessageDialog->setObjectName(
        QStringLiteral("chkCloseMailProgramMessageDialog"));
    chkDeleteMessageConfirmationDialog->setObjectName(
        QStringLiteral("chkDeleteMessageConfirmationDialog"));
    chkDesktopNotifications->setObjectName(QStringLiteral("chkDesktopNotifications"));
    chkDesktopNotifications->setChecked(DesktopNotices::enabled(context));
    layout->addWidget(chkDesktopNotifications);
    connect(chkDesktopNotifications, &QCheckBox::clicked, this,
        &frmPreferences::chkDesktopNotifications_Click);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmPreferences::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QList<frmPreferences::Row> frmPreferences::rows() const
{
    return {
        {chkCustomizeBrisvaneDialogonStartup, Keys::CustomizeBrisvaneDialogonStartup,
            Keys::LoadCustomizeBrisvaneDialogonStartup,
            MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup},
        {chkCustomizeBrisvaneDialogReminder, Keys::BrisvaneDialogReminder,
            Keys::CustomizeBrisvaneReminder, MenuNames::mnuShowCustomizeBrisvaneReminder},
        {chkCloseMailProgramMessageDialog, Keys::CloseMailProgramMessageDialog,
            Keys::CloseMailProgramMessage, MenuNames::mnuShowCloseMailProgramMessageDialog},
        {chkDeleteMessageConfirmationDialog, Keys::DeleteMessageConfirmationDialog,
            Keys::DeleteMessageConfirmation, MenuNames::mnuShowDeleteMessageConfirmationDialog},
    };
}

frmPreferences *frmPreferences::open(AppContext &context, MenuTools &menu,
    std::function<void(bool)> enableStartupBoxes, QWidget *parent)
{
    auto *window = new frmPreferences(context, menu, std::move(enableStartupBoxes), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}

void frmPreferences::cmdOK_Click()
{
    SettingsStore &store = m_context.settings();
    for (const Row &row : rows()) {
        const bool on = row.box->isChecked();
        store.save(row.boxState, on ? SettingValues::Checked : SettingValues::Unchecked);
        m_menu.setToolChecked(row.tool, on);
        store.save(row.feature, SettingConversions::fromTruth(on));
        if (row.box == chkCustomizeBrisvaneDialogonStartup && m_enableStartupBoxes)
            m_enableStartupBoxes(on);
    }
    accept();
}

void frmPreferences::chkDesktopNotifications_Click()
{
    m_context.settings().save(Keys::DesktopNotifications,
        chkDesktopNotifications->isChecked() ? SettingValues::Checked : SettingValues::Unchecked);
}
