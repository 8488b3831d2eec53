#include "alerts/frmpreferences.h"

#include "alerts/desktopnotices.h"
#include "settings/conversions.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/autostart.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "usage/ui/usagelimitbox.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
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
          new QCheckBox(tr("Show Customize Brisvane Dialog on Startup"), this))
    , chkCustomizeBrisvaneDialogReminder(
          new QCheckBox(tr("Show Customize Brisvane Dialog Reminder"), this))
    , chkCloseMailProgramMessageDialog(
          new QCheckBox(tr("Show Close Mail Program Message Dialog"), this))
    , chkDeleteMessageConfirmationDialog(
          new QCheckBox(tr("Show Delete Message Confirmation Dialog"), this))
    , chkDesktopNotifications(new QCheckBox(tr("Show desktop notifications"), this))
    , cmdOK(new QPushButton(tr("&OK"), this))
    , cmdCancel(new QPushButton(tr("&Cancel"), this))
    , chkStartAtLogin(new QCheckBox(tr("Start Brisvane when I log in"), this))
    , usageLimit(new UsageLimitBox(context, this))
    , m_context(context)
    , m_menu(menu)
    , m_enableStartupBoxes(std::move(enableStartupBoxes))
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(tr("Preferences"));
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
    addQuietHours(layout);
    layout->addWidget(usageLimit);
    addPasswordsLine(layout);
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
    addStartAtLogin(layout);
}

// Where the passwords are kept; it follows the keyring's answer when that comes later.
void frmPreferences::addPasswordsLine(QVBoxLayout *layout)
{
    lblPasswords = new QLabel(m_context.passwords().placeText(), this);
    lblPasswords->setObjectName(QStringLiteral("lblPasswords"));
    lblPasswords->setWordWrap(true);
    layout->addWidget(lblPasswords);
    connect(&m_context.passwords(), &Passwords::placeChanged, lblPasswords,
        [this] { lblPasswords->setText(m_context.passwords().placeText()); });
}

// "Quiet hours from 22:00 to 07:00": the box and the two times in one row.
void frmPreferences::addQuietHours(QVBoxLayout *layout)
{
    const SettingsModel &settings = m_context.model();
    chkQuietHours = new QCheckBox(tr("Quiet hours from"), this);
    chkQuietHours->setObjectName(QStringLiteral("chkQuietHours"));
    chkQuietHours->setToolTip(tr("No sound and no notification in this time; what came is told "
                                 "once it is over"));
    chkQuietHours->setChecked(settings.isOn(Keys::QuietHours));
    const auto timeBox = [this, &settings](const char *name, const SettingKey &key) {
        auto *box = new QTimeEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setDisplayFormat(QStringLiteral("HH:mm"));
        QTime time = QTime::fromString(settings.text(key), QStringLiteral("HH:mm"));
        box->setTime(
            time.isValid() ? time : QTime::fromString(key.defaultValue, QStringLiteral("HH:mm")));
        return box;
    };
    timQuietFrom = timeBox("timQuietFrom", Keys::QuietFrom);
    timQuietUntil = timeBox("timQuietUntil", Keys::QuietUntil);
    timQuietFrom->setAccessibleName(tr("Quiet hours from"));
    timQuietUntil->setAccessibleName(tr("Quiet hours until"));
    auto *row = new QHBoxLayout;
    row->addWidget(chkQuietHours);
    row->addWidget(timQuietFrom);
    row->addWidget(new QLabel(tr("to"), this));
    row->addWidget(timQuietUntil);
    row->addStretch();
    layout->addLayout(row);
}

void frmPreferences::saveQuietHours()
{
    SettingsStore &store = m_context.settings();
    store.save(Keys::QuietHours,
        chkQuietHours->isChecked() ? SettingValues::Checked : SettingValues::Unchecked);
    store.save(Keys::QuietFrom, timQuietFrom->time().toString(QStringLiteral("HH:mm")));
    store.save(Keys::QuietUntil, timQuietUntil->time().toString(QStringLiteral("HH:mm")));
}

// Its own row at the bottom, under a line; applied with OK like the rest.
void frmPreferences::addStartAtLogin(QVBoxLayout *layout)
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    chkStartAtLogin->setObjectName(QStringLiteral("chkStartAtLogin"));
    chkStartAtLogin->setChecked(m_context.autostart().isEnabled());
    layout->addWidget(chkStartAtLogin);
}

// False, with the reason told, when the log-in entry could not be written or removed; the
// box then shows how things stand.
bool frmPreferences::applyStartAtLogin()
{
    const bool on = chkStartAtLogin->isChecked();
    if (on == m_context.autostart().isEnabled())
        return true;
    QString error;
    if (m_context.autostart().setEnabled(on, error))
        return true;
    chkStartAtLogin->setChecked(!on);
    m_context.dialogs().message(DialogService::Icon::Warning, tr("Brisvane"),
        (on ? tr("Brisvane could not be set to start when you log in.")
            : tr("Brisvane could not be kept from starting when you log in."))
            + u'\n' + error);
    return false;
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
    // The dialog stays open on a failure, so the user sees the box as it really is.
    if (!applyStartAtLogin())
        return;
    SettingsStore &store = m_context.settings();
    for (const Row &row : rows()) {
        const bool on = row.box->isChecked();
        store.save(row.boxState, on ? SettingValues::Checked : SettingValues::Unchecked);
        m_menu.setToolChecked(row.tool, on);
        store.save(row.feature, SettingConversions::fromTruth(on));
        if (row.box == chkCustomizeBrisvaneDialogonStartup && m_enableStartupBoxes)
            m_enableStartupBoxes(on);
    }
    store.save(Keys::DesktopNotifications,
        chkDesktopNotifications->isChecked() ? SettingValues::Checked : SettingValues::Unchecked);
    saveQuietHours();
    usageLimit->save();
    accept();
}
