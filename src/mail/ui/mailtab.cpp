#include "mail/ui/mailtab.h"

#include "settings/conversions.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/ui/formhelpers.h"
#include "ui_mailtab.h"

#include <QSignalBlocker>

MailTab::MailTab(AppContext &context, QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::MailTab>())
    , m_context(context)
{
    m_ui->setupUi(this);
    m_options = {m_ui->Option1, m_ui->Option2, m_ui->Option3, m_ui->Option4, m_ui->Option5};
    m_accountNames = {m_ui->txtAccountName1, m_ui->txtAccountName2, m_ui->txtAccountName3,
        m_ui->txtAccountName4, m_ui->txtAccountName5};
    m_userNames = {m_ui->txtUserName1, m_ui->txtUserName2, m_ui->txtUserName3, m_ui->txtUserName4,
        m_ui->txtUserName5};
    m_passwords = {m_ui->txtPassword1, m_ui->txtPassword2, m_ui->txtPassword3, m_ui->txtPassword4,
        m_ui->txtPassword5};
    m_domains = {
        m_ui->txtDomain1, m_ui->txtDomain2, m_ui->txtDomain3, m_ui->txtDomain4, m_ui->txtDomain5};
    m_ui->UpDown1->setBuddy(m_ui->lblCheckMailMinutes);
    m_ui->UpDown1->setRange(1, 30);
    m_ui->UpDown2->setBuddy(m_ui->lblMailSlots);
    m_ui->UpDown2->setRange(0, kSlots);
    m_ui->UpDown3->setBuddy(m_ui->lblPauseBetweenAccounts);
    m_ui->UpDown3->setRange(1, 5);
    // The counters stand after these words of the caption, in each language.
    m_ui->chkCheckMessages->setGaps(
        {{tr("every", "the word of \"Check messages every   minutes...\" the minutes follow"),
             {m_ui->lblCheckMailMinutes, m_ui->UpDown1}},
            {tr("pause", "the word of \"Check messages every   minutes...\" the pause follows"),
                {m_ui->lblPauseBetweenAccounts, m_ui->UpDown3}}});
    m_ui->Option1->setChecked(true);
    for (int slot = 2; slot <= kSlots; ++slot) {
        for (QLineEdit *box : {accountName(slot), userName(slot), password(slot), domain(slot)})
            box->hide();
    }
    wire();
}

MailTab::~MailTab() = default;

void MailTab::addAlertButtons(AlertControls::Widgets &widgets) const
{
    widgets.chkAlertMailArrive = m_ui->chkAlertMailArrive;
    widgets.chkAlertMailNoArrive = m_ui->chkAlertMailNoArrive;
    widgets.cmdAlertMailArrive = m_ui->cmdAlertMailArrive;
    widgets.cmdAlertMailNoArrive = m_ui->cmdAlertMailNoArrive;
}

void MailTab::wire()
{
    connect(&m_context.passwords(), &Passwords::fetched, this, &MailTab::passwordFetched);
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
    connect(m_ui->chkListUnreadOnly, &QCheckBox::toggled, this, [this](bool on) {
        m_context.settings().save(Keys::ListUnreadOnly(m_shownSlot),
            on ? SettingValues::Checked : SettingValues::Unchecked);
    });
    connect(m_ui->UpDown1, &UpDown::Change, this, &MailTab::UpDown1_Change);
    connect(m_ui->UpDown2, &UpDown::Change, this, &MailTab::UpDown2_Change);
    connect(m_ui->UpDown3, &UpDown::Change, this, &MailTab::UpDown3_Change);
    connect(m_ui->chkCheckMessages, &QCheckBox::toggled, this, &MailTab::chkCheckMessages_Click);
    connect(m_ui->chkMailConnected, &QCheckBox::toggled, this, &MailTab::chkMailConnected_Click);
    connect(m_ui->chkDisableMailChecking, &QCheckBox::toggled, this,
        &MailTab::chkDisableMailChecking_Click);
    connect(m_ui->cmdRemovingMailAccount, &QPushButton::clicked, this,
        &MailTab::cmdRemovingMailAccount_Click);
    connect(m_ui->cmdMailProgram, &QPushButton::clicked, this, &MailTab::cmdMailProgram_Click);
    // The command line as typed, with its arguments ("thunderbird -mail"), is what starts.
    connect(m_ui->txtMailProgram, &QLineEdit::textEdited, this,
        [this](const QString &text) { m_context.settings().save(Keys::MailProgram, text); });
    connect(m_ui->cmdRemoveMailCommandLine, &QPushButton::clicked, this,
        &MailTab::cmdRemoveMailCommandLine_Click);
}

void MailTab::load()
{
    const SettingsModel &settings = m_context.model();
    const std::pair<QCheckBox *, SettingKey> boxes[] = {
        {m_ui->chkDisableMailChecking, Keys::DisableMailChecking},
        {m_ui->chkAlertMailArrive, Keys::AlertMailArrive},
        {m_ui->chkAlertMailNoArrive, Keys::AlertMailNoArrive},
        {m_ui->chkCheckMessages, Keys::CheckMessages},
        {m_ui->chkMailConnected, Keys::MailConnected},
    };
    for (const auto &[box, key] : boxes)
        Form::followCheck(box, settings, key);
    Form::followCount(m_ui->lblMailSlots, settings, Keys::MailSlotCount);
    Form::followCount(m_ui->lblCheckMailMinutes, settings, Keys::CheckMailMinutes);
    Form::followCount(m_ui->lblPauseBetweenAccounts, settings, Keys::PauseBetweenAccounts);
    applyCheckMessages();
    applyMailSwitch();
    for (int slot = 1; slot <= kSlots; ++slot)
        loadSlotBoxes(slot);
    showListChoice();
    refresh();
}

void MailTab::refresh()
{
    enableOptions(m_context.model().count(Keys::MailSlotCount));
    m_ui->txtMailProgram->setText(m_context.model().text(Keys::MailProgram));
}

void MailTab::showChosenSlot()
{
    m_ui->Option1->setEnabled(true);
    for (int slot = 2; slot <= kSlots; ++slot)
        option(slot)->setEnabled(false);
    int chosen = 1;
    for (int slot = 1; slot <= kSlots; ++slot) {
        if (option(slot)->isChecked())
            chosen = slot;
    }
    showSlot(chosen);
}

void MailTab::loadSlotBoxes(int slot)
{
    const SettingsStore &store = m_context.settings();
    accountName(slot)->setText(store.get(Keys::AccountName(slot)));
    userName(slot)->setText(store.get(Keys::MailUserName(slot)));
    loadPassword(slot);
    domain(slot)->setText(store.get(Keys::Domain(slot)));
}

// From the keyring the password may come later: it fills the box then, unless the user has
// typed in it meanwhile.
void MailTab::loadPassword(int slot)
{
    Passwords &passwords = m_context.passwords();
    const SettingKey key = Keys::MailPassword(slot);
    if (passwords.isKnown(key)) {
        password(slot)->setText(passwords.known(key));
        showUnreadable(slot);
        return;
    }
    m_fillingPassword = true;
    password(slot)->clear();
    m_fillingPassword = false;
    passwords.fetch(key);
}

void MailTab::passwordFetched(const SettingKey &key)
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        if (key == Keys::MailPassword(slot) && !password(slot)->isModified()) {
            m_fillingPassword = true;
            password(slot)->setText(m_context.passwords().known(key));
            m_fillingPassword = false;
            showUnreadable(slot);
        }
    }
}

// An empty box whose password the keyring keeps but did not give says why it is empty.
void MailTab::showUnreadable(int slot)
{
    QString why = m_context.passwords().unreadable(Keys::MailPassword(slot));
    if (!why.isEmpty())
        why[0] = why[0].toUpper();
    password(slot)->setPlaceholderText(why);
    password(slot)->setToolTip(why);
}

void MailTab::showSlot(int slot)
{
    loadSlotBoxes(slot);
    // The five sets share one place on the tab.
    for (int other = 1; other <= kSlots; ++other) {
        for (QLineEdit *box : {accountName(other), userName(other), password(other), domain(other)})
            box->setVisible(other == slot);
    }
    // The captions' keys go to the boxes shown.
    m_ui->lblAccountNameCaption->setBuddy(accountName(slot));
    m_ui->lblUserNameCaption->setBuddy(userName(slot));
    m_ui->lblPasswordCaption->setBuddy(password(slot));
    m_ui->lblDomainCaption->setBuddy(domain(slot));
    // One box for the slot shown.
    m_shownSlot = slot;
    showListChoice();
}

// The box shows the shown slot's choice; only the user's change of it is stored.
void MailTab::showListChoice()
{
    const QSignalBlocker loading(m_ui->chkListUnreadOnly);
    m_ui->chkListUnreadOnly->setChecked(m_context.model().isOn(Keys::ListUnreadOnly(m_shownSlot)));
}

void MailTab::Option_Click(int slot)
{
    showSlot(slot);
}

void MailTab::txtAccountName_Change(int slot)
{
    const QString name = accountName(slot)->text();
    m_context.settings().save(Keys::AccountName(slot), name);
}

void MailTab::txtUserName_Change(int slot)
{
    m_context.settings().save(Keys::MailUserName(slot), userName(slot)->text());
}

void MailTab::txtPassword_Change(int slot)
{
    Passwords &passwords = m_context.passwords();
    const SettingKey key = Keys::MailPassword(slot);
    // Filling the box from the keyring changes nothing to write back.
    if (m_fillingPassword
        || (passwords.isKnown(key) && passwords.known(key) == password(slot)->text()))
        return;
    passwords.write(key, password(slot)->text());
}

void MailTab::txtDomain_Change(int slot)
{
    m_context.settings().save(Keys::Domain(slot), domain(slot)->text());
}

// A spinner stores its label's text only when that text is a value of the key's range.
void MailTab::storeCountLabel(QLabel *label, const SettingKey &key)
{
    const QString text = label->text();
    const auto count = SettingConversions::toInteger(text);
    if (count && text == QString::number(*count))
        m_context.model().setCount(key, *count);
}

void MailTab::UpDown1_Change()
{
    storeCountLabel(m_ui->lblCheckMailMinutes, Keys::CheckMailMinutes);
}

void MailTab::UpDown3_Change()
{
    storeCountLabel(m_ui->lblPauseBetweenAccounts, Keys::PauseBetweenAccounts);
}

void MailTab::enableOptions(int count)
{
    for (int slot = 1; slot <= kSlots; ++slot)
        option(slot)->setEnabled(slot <= count);
}

void MailTab::UpDown2_Change()
{
    storeCountLabel(m_ui->lblMailSlots, Keys::MailSlotCount);
    enableOptions(m_context.model().count(Keys::MailSlotCount));
}

void MailTab::chkCheckMessages_Click()
{
    m_context.settings().save(Keys::CheckMessages, Form::checkText(m_ui->chkCheckMessages));
    applyCheckMessages();
}

void MailTab::applyCheckMessages()
{
    const bool on = Form::checkValue(m_ui->chkCheckMessages) == 1;
    for (QWidget *w : std::initializer_list<QWidget *>{m_ui->lblCheckMailMinutes,
             m_ui->lblPauseBetweenAccounts, m_ui->UpDown1, m_ui->UpDown3})
        w->setEnabled(on);
}

void MailTab::chkMailConnected_Click()
{
    m_context.settings().save(Keys::MailConnected, Form::checkText(m_ui->chkMailConnected));
}

void MailTab::chkDisableMailChecking_Click()
{
    m_context.settings().save(
        Keys::DisableMailChecking, Form::checkText(m_ui->chkDisableMailChecking));
    applyMailSwitch();
    if (Form::checkValue(m_ui->chkDisableMailChecking) != 1) {
        showSlot(1);
        UpDown2_Change();
    }
}

// Switched-off mail checking hides the slots and the schedule.
void MailTab::applyMailSwitch()
{
    const bool disabled = Form::checkValue(m_ui->chkDisableMailChecking) == 1;
    m_ui->fraMailSlots->setVisible(!disabled);
    m_ui->fraMailSchedule->setVisible(!disabled);
}

void MailTab::cmdRemovingMailAccount_Click()
{
    const QString br = Form::kLineBreak;
    Form::information(m_context.dialogs(), tr("How to Remove a Mail Account"),
        tr("To remove Mail Accounts perform the following steps:") + br
            + tr("1. Select the mail account by clicking its option button") + br
            + tr("2. Delete the 3 account entries (Username, Password, POP/Domain) by "
                 "selecting them and pressing delete or using the backspace key")
            + br
            + tr("3. Then change the number of mailslots entry to reflect how many "
                 "accounts you have.")
            + br + tr("All settings will be saved automatically"));
}

void MailTab::cmdMailProgram_Click()
{
    const QString path
        = m_context.dialogs().openFileName(tr("Mail Program"), QString(), tr("Programs (*)"));
    // A cancelled file dialog keeps the program there was.
    if (path.isEmpty())
        return;
    SettingsStore &store = m_context.settings();
    store.save(Keys::MailProgram, path);
    m_ui->txtMailProgram->setText(store.get(Keys::MailProgram));
}

void MailTab::cmdRemoveMailCommandLine_Click()
{
    m_ui->txtMailProgram->clear();
    m_context.settings().save(Keys::MailProgram, QString());
}
