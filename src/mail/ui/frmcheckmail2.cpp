#include "mail/ui/frmcheckmail2.h"

#include "connection/linecontroller.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/mailshared.h"
#include "mail/ui/mailtab.h"
#include "mail/ui/messagelist.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"
#include "shell/ui/formhelpers.h"

#include <QCloseEvent>
#include <QPointer>
#include <QResizeEvent>

namespace {
const QString kNotExecuted = QStringLiteral("NotExecuted");
} // namespace

frmCheckMail2::frmCheckMail2(
    MailShared &check, std::unique_ptr<MailControl> control, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint)
    , m_check(check)
    , mMail1(std::move(control))
{
    // The title bar has no Close: the window is left through its buttons.
    setupUi(this);
    listMessages->setHeadings({Label1, Label2, Label3});
    setMinimumSize(size());
    setObjectName(QStringLiteral("frmCheckMail2"));
    for (QWidget *w : std::initializer_list<QWidget *>{cmdNextMailAccount, Label5, Label6})
        w->hide();
    wire();
}

void frmCheckMail2::resizeEvent(QResizeEvent *event)
{
    // The headers list grows with the window; the compact layout keeps its fixed places.
    if (!listMessages->isHidden())
        MessageList::fitToWindow(*this, event->size());
    QWidget::resizeEvent(event);
}

frmCheckMail2::~frmCheckMail2()
{
    MailControl::dispose(std::move(mMail1));
}

void frmCheckMail2::wire()
{
    connect(mMail1.get(), &MailControl::Done, this, &frmCheckMail2::mMail1_Done);
    connect(mMail1.get(), &MailControl::Error, this, &frmCheckMail2::mMail1_Error);
    connect(mMail1.get(), &MailControl::ServerAlert, this,
        [this](const QString &text) { m_check.serverAlert(accountName(m_slot), text); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmCheckMail2::cmdCancel_Click);
    connect(cmdSelectMessage, &QPushButton::clicked, this, &frmCheckMail2::cmdSelectMessage_Click);
    connect(cmdDeleteMessage, &QPushButton::clicked, this, &frmCheckMail2::cmdDeleteMessage_Click);
    connect(cmdMailProgram, &QPushButton::clicked, this, &frmCheckMail2::cmdMailProgram_Click);
}

QString frmCheckMail2::accountName(int slot) const
{
    return m_check.settings().text(Keys::AccountName(slot));
}

void frmCheckMail2::useCompactLayout()
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             Label1, Label2, Label3, listMessages, cmdDeleteMessage, cmdSelectMessage})
        w->hide();
    cmdMailProgram->setEnabled(false);
    Label4->move(8, 40);
    Label4->resize(440, 18);
    MessageList::placeCompactButtons(*this, {cmdMailProgram, cmdCancel});
}

void frmCheckMail2::setListButtonsEnabled(bool enabled)
{
    for (QWidget *w :
        std::initializer_list<QWidget *>{cmdDeleteMessage, cmdSelectMessage, cmdMailProgram})
        w->setEnabled(enabled);
}

QCoro::Task<> frmCheckMail2::Form_Load()
{
    SettingsStore &store = m_check.context().settings();
    // Tells the server error dialog that a failure belongs to this window.
    store.save(Keys::CheckMailExecuted, kNotExecuted);
    m_headersMode = m_check.settings().isOn(Keys::MessageHeadersOnly);
    if (!m_headersMode)
        useCompactLayout();
    setListButtonsEnabled(false);
    show();
    cmdCancel->setEnabled(false);
    m_messageIndex = 0;
    const QString chosen = store.get(Keys::MailSlotChosen);
    const int n = chosen.toInt();
    m_slot = (n >= 1 && n <= MailTab::kSlots && chosen == QString::number(n)) ? n : 0;
    if (m_slot != 0)
        co_await checkSlot();
}

void frmCheckMail2::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Form_Unload();
    // The answer to the QUIT must not reach the shared flags: a window loaded next would take
    // it for the answer to its own log-on.
    mMail1->disconnect(this);
    Q_EMIT requestEnded();
    hide();
    deleteLater();
}

void frmCheckMail2::Form_Unload()
{
    SettingsStore &store = m_check.context().settings();
    if (store.get(Keys::CheckMailUnload) != SettingValues::Unchecked)
        mMail1->Quit();
    else
        store.save(Keys::CheckMailUnload, SettingValues::Checked);
}

void frmCheckMail2::closeEvent(QCloseEvent *event)
{
    if (!m_unloaded)
        event->ignore();
}

void frmCheckMail2::mMail1_Done()
{
    m_check.requestDone = -1;
    m_answered = true;
    Q_EMIT requestEnded();
}

void frmCheckMail2::mMail1_Error(int number, const QString &text)
{
    Q_UNUSED(number)
    m_answered = true;
    ++m_errors;
    m_check.serverError({this, false, m_slot - 1, {}, {}}, text);
    Q_EMIT requestEnded();
}

void frmCheckMail2::cmdCancel_Click()
{
    m_check.context().settings().save(Keys::CheckMailUnload, SettingValues::Unchecked);
    mMail1->Quit();
    unload();
}

void frmCheckMail2::cmdMailProgram_Click()
{
    m_check.runMailProgram([this] { cmdCancel_Click(); });
}
