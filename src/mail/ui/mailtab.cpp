#include "mail/ui/mailtab.h"

#include "clock/timer.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/settings/conversions.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"

MailTab::MailTab(Links links, QWidget *parent)
    : QWidget(parent)
    , m_links(std::move(links))
{
    setupUi(this);
    m_options = {Option1, Option2, Option3, Option4, Option5};
    m_accountNames
        = {txtAccountName1, txtAccountName2, txtAccountName3, txtAccountName4, txtAccountName5};
    m_userNames = {txtUserName1, txtUserName2, txtUserName3, txtUserName4, txtUserName5};
    m_passwords = {txtPassword1, txtPassword2, txtPassword3, txtPassword4, txtPassword5};
    m_domains = {txtDomain1, txtDomain2, txtDomain3, txtDomain4, txtDomain5};
    UpDown1->setBuddy(lblCheckMailMinutes);
    UpDown1->setRange(1, 30);
    UpDown2->setBuddy(lblMailSlots);
    UpDown2->setRange(0, kSlots);
    UpDown3->setBuddy(lblPauseBetweenAccounts);
    UpDown3->setRange(1, 5);
    chkCheckMessages->setGaps({{QStringLiteral("every"), {lblCheckMailMinutes, UpDown1}},
        {QStringLiteral("pause"), {lblPauseBetweenAccounts, UpDown3}}});
    Option1->setChecked(true);
    for (int slot = 2; slot <= kSlots; ++slot) {
        for (QLineEdit *box : {accountName(slot), userName(slot), password(slot), domain(slot)})
            box->hide();
    }
    wire();
}

void MailTab::wire()
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        connect(option(slot), &QRadioButton::clicked, this, [this, slot] { Option_Click(slot); });
        connect(accountName(slot), &QLineEdit::textChanged, this,
            [this, slot] { txtAccountName_Change(slot); });
        connect(userName(slot), &QLineEdit::textChanged, this,
            [this, slot] { txtUserName_Change(slot); });
        connect(password(slot), &QLineEdit::textChanged, this,
            [this, slot] { txtPassword_Change(slot); });
        connect(
            domain(slot), &QLineEdit::textChanged, this, [this, slot] { txtDomain_Change(slot); });
    }
    connect(UpDown1, &UpDown::Change, this, &MailTab::UpDown1_Change);
    connect(UpDown2, &UpDown::Change, this, &MailTab::UpDown2_Change);
    connect(UpDown3, &UpDown::Change, this, &MailTab::UpDown3_Change);
    connect(chkCheckMessages, &QCheckBox::toggled, this, &MailTab::chkCheckMessages_Click);
    connect(chkMailConnected, &QCheckBox::toggled, this, &MailTab::chkMailConnected_Click);
    connect(
        chkDisableMailChecking, &QCheckBox::toggled, this, &MailTab::chkDisableMailChecking_Click);
    connect(cmdRemovingMailAccount, &QPushButton::clicked, this,
        &MailTab::cmdRemovingMailAccount_Click);
    connect(cmdMailProgram, &QPushButton::clicked, this, &MailTab::cmdMailProgram_Click);
    connect(cmdRemoveMailCommandLine, &QPushButton::clicked, this,
        &MailTab::cmdRemoveMailCommandLine_Click);
}

void MailTab::loadSlotBoxes(int slot)
{
    const SettingsStore &store = m_links.context.settings();
    accountName(slot)->setText(store.get(Keys::AccountName(slot)));
    userName(slot)->setText(store.get(Keys::MailUserName(slot)));
    password(slot)->setText(store.get(Keys::MailPassword(slot)));
    domain(slot)->setText(store.get(Keys::Domain(slot)));
}

void MailTab::showSlot(int slot)
{
    loadSlotBoxes(slot);
    // The five sets share one place on the tab.
    for (int other = 1; other <= kSlots; ++other) {
        for (QLineEdit *box : {accountName(other), userName(other), password(other), domain(other)})
            box->setVisible(other == slot);
    }
}

void MailTab::Option_Click(int slot)
{
    showSlot(slot);
}

void MailTab::txtAccountName_Change(int slot)
{
    const QString name = accountName(slot)->text();
    m_links.context.settings().save(Keys::AccountName(slot), name);
    m_links.menu.setToolCaption(MenuNames::PopupBandMailSlots, MenuNames::mnuMailSlot(slot), name);
    CheckMailSlots();
}

void MailTab::txtUserName_Change(int slot)
{
    m_links.context.settings().save(Keys::MailUserName(slot), userName(slot)->text());
}

void MailTab::txtPassword_Change(int slot)
{
    m_links.context.settings().save(Keys::MailPassword(slot), password(slot)->text());
}

void MailTab::txtDomain_Change(int slot)
{
    m_links.context.settings().save(Keys::Domain(slot), domain(slot)->text());
}

// A spinner stores its label's text only when that text is a value of its range.
void MailTab::storeCountLabel(QLabel *label, const SettingKey &key, int minimum, int maximum)
{
    const QString text = label->text();
    const auto count = SettingConversions::toInteger(text);
    if (count && *count >= minimum && *count <= maximum && text == QString::number(*count))
        m_links.context.settings().save(key, text);
}

void MailTab::UpDown1_Change()
{
    storeCountLabel(lblCheckMailMinutes, Keys::CheckMailMinutes, 1, 30);
    m_links.mailSchedule.wake();
}

void MailTab::UpDown3_Change()
{
    storeCountLabel(lblPauseBetweenAccounts, Keys::PauseBetweenAccounts, 1, 5);
}

std::optional<int> MailTab::slotCount(const QString &text)
{
    const auto count = SettingConversions::toInteger(text);
    if (count && *count >= 0 && *count <= kSlots && text == QString::number(*count))
        return count;
    return std::nullopt;
}

std::optional<int> MailTab::shownSlotCount() const
{
    return slotCount(lblMailSlots->text());
}

void MailTab::enableOptions(int count)
{
    for (int slot = 1; slot <= kSlots; ++slot)
        option(slot)->setEnabled(slot <= count);
}

void MailTab::UpDown2_Change()
{
    enableOptions(kSlots);
    if (const auto count = shownSlotCount()) {
        m_links.context.settings().save(Keys::MailSlotCount, QString::number(*count));
        enableOptions(*count);
    }
    CheckMailSlots();
}

void MailTab::chkCheckMessages_Click()
{
    m_links.context.settings().save(Keys::CheckMessages, Form::checkText(chkCheckMessages));
    applyCheckMessages();
    m_links.mailSchedule.wake();
}

void MailTab::applyCheckMessages()
{
    const bool on = Form::checkValue(chkCheckMessages) == 1;
    for (QWidget *w : std::initializer_list<QWidget *>{lblCheckMailMinutes, lblPauseBetweenAccounts,
             UpDown1, UpDown3, m_links.checkMailWhenMinimized})
        w->setEnabled(on);
}

void MailTab::chkMailConnected_Click()
{
    m_links.context.settings().save(Keys::MailConnected, Form::checkText(chkMailConnected));
}

void MailTab::chkDisableMailChecking_Click()
{
    const bool disabled = Form::checkValue(chkDisableMailChecking) == 1;
    m_links.context.settings().save(
        Keys::DisableMailChecking, Form::checkText(chkDisableMailChecking));
    applyMailSwitch(m_links.menu, disabled);
    fraMailSlots->setVisible(!disabled);
    fraMailSchedule->setVisible(!disabled);
    if (disabled) {
        m_links.mailSchedule.setEnabled(false);
        return;
    }
    showSlot(1);
    UpDown2_Change();
    m_links.mailSchedule.setEnabled(true);
}

void MailTab::applyMailSwitch(MenuTools &menu, bool disabled)
{
    menu.setToolChecked(MenuNames::mnuDisableMailChecking, disabled);
    for (int slot = 1; slot <= kSlots; ++slot)
        menu.setToolEnabled(MenuNames::mnuMailSlot(slot), !disabled);
    menu.setToolEnabled(MenuNames::mnuAllAccounts, !disabled);
}

void MailTab::CheckMailSlots()
{
    const auto count = shownSlotCount();
    if (count && *count != 0) {
        m_links.context.settings().save(Keys::MailSlotCount, QString::number(*count));
        enableOptions(*count);
    }
    // Mail can only be fetched over a live line: with the line down the tools are greyed.
    // Switched-off mail checking keeps them greyed whatever the line does.
    const bool live = m_links.lineConnected && m_links.lineConnected()
        && Form::checkValue(chkDisableMailChecking) == 0;
    applySlotTools(m_links.menu, count, live);
}

void MailTab::applySlotTools(MenuTools &menu, std::optional<int> count, bool live)
{
    if (!count || *count == 0) {
        for (int slot = 1; slot <= kSlots; ++slot)
            menu.setToolVisible(MenuNames::mnuMailSlot(slot), false);
        menu.setToolVisible(MenuNames::mnuAllAccounts, false);
        return;
    }
    const int n = *count;
    for (int slot = 1; slot <= kSlots; ++slot) {
        menu.setToolVisible(MenuNames::mnuMailSlot(slot), slot <= n);
        menu.setToolEnabled(MenuNames::mnuMailSlot(slot), live && slot <= n);
    }
    menu.setToolVisible(MenuNames::mnuAllAccounts, n >= 2);
    menu.setToolEnabled(MenuNames::mnuAllAccounts, live && n >= 2);
}

void MailTab::cmdRemovingMailAccount_Click()
{
    const QString br = Form::kLineBreak;
    Form::information(m_links.context.dialogs(), QStringLiteral("Retrieving Message Headers Only"),
        QStringLiteral("To remove Mail Accounts perform the following steps:") + br
            + QStringLiteral("1. Select the mail account by clicking its option button") + br
            + QStringLiteral("2. Delete the 3 account entries (Username, Password, POP/Domain) by "
                             "selecting them and pressing delete or using the backspace key")
            + br
            + QStringLiteral("3. Then change the number of mailslots entry to reflect how many "
                             "accounts you have.")
            + br + QStringLiteral("All settings will be saved automatically"));
}
