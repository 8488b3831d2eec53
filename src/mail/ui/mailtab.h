#pragma once

#include "alerts/alertcontrols.h"
#include "mail/mailtools.h"

#include <QWidget>

#include <array>
#include <memory>

namespace Ui {
class MailTab;
}

class AppContext;
class QLabel;
class QLineEdit;
class QRadioButton;

// The Mail tab: five mail slots, the slot count, the schedule and the mail switches. Every
// change is stored at once; the schedule and the popup menu's mail tools follow the settings.
class MailTab : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSlots = MailTools::kSlots;

    explicit MailTab(AppContext &context, QWidget *parent = nullptr);
    ~MailTab() override;

    // Shows the settings and follows them from now on.
    void load();
    // The mail alerts' boxes and Browse buttons, for the alert controls.
    void addAlertButtons(AlertControls::Widgets &widgets) const;
    // The option buttons follow the slot count, the program box the stored program.
    void refresh();
    // The slot of the checked option button, its boxes shown alone; only the first option
    // can be chosen until the slot count frees the others.
    void showChosenSlot();

    void Option_Click(int slot);
    void txtAccountName_Change(int slot);
    void txtUserName_Change(int slot);
    void txtPassword_Change(int slot);
    void loadPassword(int slot);
    void showListChoice();
    void showUnreadable(int slot);
    void passwordFetched(const struct SettingKey &key);
    void txtDomain_Change(int slot);
    void UpDown1_Change();
    void UpDown2_Change();
    void UpDown3_Change();
    void chkCheckMessages_Click();
    void chkMailConnected_Click();
    void chkDisableMailChecking_Click();
    void cmdRemovingMailAccount_Click();
    void cmdMailProgram_Click();
    void cmdRemoveMailCommandLine_Click();

    // Loads slot `slot`'s four boxes from the store and shows them alone.
    void showSlot(int slot);
    // Enables option buttons 1 to `count` and disables the rest.
    void enableOptions(int count);
    void applyCheckMessages();
    void loadSlotBoxes(int slot);

    QRadioButton *option(int slot) const { return m_options[slot - 1]; }
    QLineEdit *accountName(int slot) const { return m_accountNames[slot - 1]; }
    QLineEdit *userName(int slot) const { return m_userNames[slot - 1]; }
    QLineEdit *password(int slot) const { return m_passwords[slot - 1]; }
    QLineEdit *domain(int slot) const { return m_domains[slot - 1]; }

private:
    void wire();
    void storeCountLabel(QLabel *label, const struct SettingKey &key);
    void applyMailSwitch();

    const std::unique_ptr<Ui::MailTab> m_ui;
    AppContext &m_context;
    std::array<QRadioButton *, kSlots> m_options;
    std::array<QLineEdit *, kSlots> m_accountNames;
    std::array<QLineEdit *, kSlots> m_userNames;
    std::array<QLineEdit *, kSlots> m_passwords;
    std::array<QLineEdit *, kSlots> m_domains;
    bool m_fillingPassword = false; // the box is being filled, not typed in
    int m_shownSlot = 1; // whose boxes the tab shows
};
