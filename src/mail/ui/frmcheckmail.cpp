#include "mail/ui/frmcheckmail.h"

#include "clock/clock.h"
#include "clock/detach.h"
#include "connection/linecontroller.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/mailshared.h"
#include "mail/ui/messagelist.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"
#include "shell/ui/formhelpers.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QResizeEvent>

namespace {
const QString kExecuted = QStringLiteral("Executed");
} // namespace

frmCheckMail::frmCheckMail(MailShared &check, std::unique_ptr<MailControl> control, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint)
    , Timer1(check.context().clock(), 1000, false)
    , m_check(check)
    , mMail1(std::move(control))
{
    // The title bar has no Close: the window is left through its buttons.
    setupUi(this);
    listMessages->setHeadings({Label1, Label2, Label3});
    setMinimumSize(size());
    wire();
}

void frmCheckMail::resizeEvent(QResizeEvent *event)
{
    // The headers list grows with the window; the compact layout keeps its fixed places.
    if (!listMessages->isHidden())
        MessageList::fitToWindow(*this, event->size());
    QWidget::resizeEvent(event);
}

frmCheckMail::~frmCheckMail()
{
    MailControl::dispose(std::move(mMail1));
}

void frmCheckMail::wire()
{
    connect(&Timer1, &Timer::tick, this, &frmCheckMail::Timer1_Timer);
    connect(mMail1.get(), &MailControl::Done, this, &frmCheckMail::mMail1_Done);
    connect(mMail1.get(), &MailControl::Error, this, &frmCheckMail::mMail1_Error);
    connect(mMail1.get(), &MailControl::ServerAlert, this, [this](const QString &text) {
        m_check.serverAlert(accountName(m_check.currentSlotIndex + 1), text);
    });
    connect(
        cmdNextMailAccount, &QPushButton::clicked, this, &frmCheckMail::cmdNextMailAccount_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCheckMail::cmdCancel_Click);
    connect(cmdSelectMessage, &QPushButton::clicked, this, &frmCheckMail::cmdSelectMessage_Click);
    connect(cmdDeleteMessage, &QPushButton::clicked, this, &frmCheckMail::cmdDeleteMessage_Click);
    connect(cmdMailProgram, &QPushButton::clicked, this, &frmCheckMail::cmdMailProgram_Click);
}

QString frmCheckMail::rowText(const QString &from, const QString &subject, const QString &date)
{
    return MessageList::rowText(from, subject, date);
}

int frmCheckMail::slotCount() const
{
    return m_check.settings().count(Keys::MailSlotCount);
}

int frmCheckMail::pauseMinutes() const
{
    return m_check.settings().count(Keys::PauseBetweenAccounts);
}

QString frmCheckMail::accountName(int slot) const
{
    return m_check.settings().text(Keys::AccountName(slot));
}

// Both "minimised" and "scheduled checking" boxes ticked.
bool frmCheckMail::minimisedCheck() const
{
    const SettingsModel &settings = m_check.settings();
    return settings.isOn(Keys::CheckMailwhenMinimized) && settings.isOn(Keys::CheckMessages);
}

void frmCheckMail::useCompactLayout()
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             Label1, Label2, Label3, listMessages, cmdDeleteMessage, cmdSelectMessage})
        w->hide();
    Label4->move(8, 56);
    Label4->resize(440, 18);
    Label6->move(192, 40);
    // The countdown to the next account, inside the small window.
    Label5->setGeometry(8, 74, 440, 18);
    MessageList::placeCompactButtons(*this, {cmdNextMailAccount, cmdMailProgram, cmdCancel});
}

QCoro::Task<> frmCheckMail::Form_Load()
{
    SettingsStore &store = m_check.context().settings();
    store.save(Keys::CheckMailExecuted, kExecuted);
    m_manual = m_check.manualCheck == 1;
    const bool minimised = minimisedCheck() && !m_manual;
    m_headersMode = m_check.settings().isOn(Keys::MessageHeadersOnly);
    if (!m_headersMode)
        useCompactLayout();
    Label5->hide();
    Label6->hide();
    m_check.stopCustomizeTimers();
    Timer1.setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{
             cmdCancel, cmdNextMailAccount, cmdDeleteMessage, cmdSelectMessage, cmdMailProgram})
        w->setEnabled(false);
    if (minimised)
        showMinimized();
    else
        show();
    m_firstSlot = m_onlySlot > 0 ? m_onlySlot : 1;
    m_lastSlot = m_onlySlot > 0 ? m_onlySlot : slotCount();
    m_check.currentSlotIndex = qint16(m_firstSlot - 1);
    m_messageIndex = 0;
    m_countdown = 60;
    store.save(Keys::Check, SettingValues::Unchecked);
    if (m_lastSlot < m_firstSlot)
        co_return;
    QPointer<frmCheckMail> self(this);
    detach(runAccounts());
    // The starter's part: up to the first countdown or the end of the run.
    const bool alive = co_await m_check.context().clock().until(
        [this] { return m_settled || m_unloaded; }, this, &frmCheckMail::settled, this);
    if (alive && self)
        m_loadReturned = true;
}

void frmCheckMail::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Timer1.setEnabled(false);
    stopWaitingAfterError();
    // However the run of All Accounts ends, later checks are scheduled ones again.
    if (m_manual)
        m_check.manualCheck = 0;
    Form_Unload();
    // The answer to the QUIT must not reach the shared flags: a run loaded next would take it
    // for the answer to its own log-on.
    mMail1->disconnect(this);
    Q_EMIT requestEnded();
    Q_EMIT countdownEnded();
    settle();
    hide();
    deleteLater();
}

void frmCheckMail::Form_Unload()
{
    SettingsStore &store = m_check.context().settings();
    if (store.get(Keys::CheckMailUnload) != SettingValues::Unchecked) {
        quitSession();
        // Every way out gives the Customize dialog its clock, schedule and line watch back.
        m_check.restartCustomizeTimers();
        if (!singleAccountRun())
            m_check.setTrayIcon(QStringLiteral("net10a.ico"));
        return;
    }
    store.save(Keys::CheckMailUnload, SettingValues::Checked);
    // A server error (a refused DELE, say) may leave the session up: without the QUIT the
    // other deletions the list shows as made would never happen.
    quitSession();
    m_check.setTrayIcon(QStringLiteral("net10a.ico"));
    // After a server error the starter restarts the timers when its load returns; once it
    // has returned nobody else would.
    if (m_loadReturned)
        m_check.restartCustomizeTimers();
}

// One QUIT per session: the unloading rules and Cancel may both ask.
void frmCheckMail::quitSession()
{
    if (m_quitSent)
        return;
    m_quitSent = true;
    mMail1->Quit();
}

// The title bar has no Close; a close from the window manager or Escape acts as Cancel
// while Cancel may be pressed, and is ignored while a step must not be cut short.
void frmCheckMail::closeEvent(QCloseEvent *event)
{
    if (m_unloaded)
        return;
    event->ignore();
    if (cmdCancel->isEnabled())
        cmdCancel->click();
}

void frmCheckMail::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

bool frmCheckMail::waitsAfterError(int slotIndex) const
{
    return !m_unloaded && m_waitingAfterError && m_check.currentSlotIndex == slotIndex;
}

void frmCheckMail::stopWaitingAfterError()
{
    if (!m_waitingAfterError)
        return;
    m_waitingAfterError = false;
    Q_EMIT movingOn();
}

void frmCheckMail::mMail1_Done()
{
    m_check.requestDone = -1;
    m_answered = true;
    Q_EMIT requestEnded();
}

void frmCheckMail::mMail1_Error(int number, const QString &text)
{
    Q_UNUSED(number)
    m_answered = true;
    ++m_errors;
    // Before the error dialog opens: it offers Next Account while the run waits on it.
    m_waitingAfterError = !isLastSlot();
    m_check.serverError({this, true, m_check.currentSlotIndex, {}, {}}, text);
    // Whatever else waits, the window can always be given up.
    cmdCancel->setEnabled(true);
    Q_EMIT requestEnded();
}

void frmCheckMail::cmdCancel_Click()
{
    m_check.context().settings().save(Keys::CheckMailUnload, SettingValues::Unchecked);
    Timer1.setEnabled(false);
    quitSession();
    m_check.setTrayIcon(QStringLiteral("net10a.ico"));
    exitStep();
    // Pressed during a log-on or with a single empty slot, it still closes the window.
    unload();
    // The line watch comes back too: a line lost after a cancelled check must still be seen.
    m_check.restartCustomizeTimers();
}

void frmCheckMail::cmdNextMailAccount_Click()
{
    if (Timer1.enabled())
        endCountdown();
}
