#pragma once

#include "ui_mailtab.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class AppContext;
class MenuTools;
class Timer;

// The Mail tab: five mail slots, the slot count, the schedule and the mail switches. Every
// change is stored at once and the popup menu's mail tools follow the slots and the line.
class MailTab : public QWidget, public Ui::MailTab
{
    Q_OBJECT

public:
    static constexpr int kSlots = 5;

    struct Links {
        AppContext &context;
        MenuTools &menu;
        Timer &mailSchedule; // the dialog's Timer2
        std::function<bool()> lineConnected; // the dial-up control's view of the line
        QCheckBox *checkMailWhenMinimized; // lives on the Settings tab
    };

    MailTab(Links links, QWidget *parent = nullptr);

    void Option_Click(int slot);
    void txtAccountName_Change(int slot);
    void txtUserName_Change(int slot);
    void txtPassword_Change(int slot);
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
    void CheckMailSlots();
    // The popup menu's mail tools for mail checking switched off or on.
    static void applyMailSwitch(MenuTools &menu, bool disabled);
    // The popup menu's mail tools for `count` slots (none for no count); usable over a `live`
    // line only.
    static void applySlotTools(MenuTools &menu, std::optional<int> count, bool live);
    // The slot count `text` stands for, if it is one.
    static std::optional<int> slotCount(const QString &text);

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
    // The slot count the label shows, when it is one (0 to 5).
    std::optional<int> shownSlotCount() const;

private:
    void wire();
    void storeCountLabel(QLabel *label, const struct SettingKey &key, int minimum, int maximum);

    Links m_links;
    std::array<QRadioButton *, kSlots> m_options;
    std::array<QLineEdit *, kSlots> m_accountNames;
    std::array<QLineEdit *, kSlots> m_userNames;
    std::array<QLineEdit *, kSlots> m_passwords;
    std::array<QLineEdit *, kSlots> m_domains;
};
