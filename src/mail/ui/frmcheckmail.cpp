#include "mail/ui/frmcheckmail.h"

#include "mail/ui/mailshared.h"
#include "mail/ui/messagelist.h"
#include "settings/settingsmodel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QResizeEvent>

namespace {
const char *const kNewMail = QT_TRANSLATE_NOOP("frmCheckMail", "You have new mail");
} // namespace

frmCheckMail::frmCheckMail(MailShared &check, std::unique_ptr<MailRun> run, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint)
    , m_check(check)
    , m_run(std::move(run))
{
    // The title bar has no Close: the window is left through its buttons.
    setupUi(this);
    listMessages->setHeadings({Label1, Label2, Label3});
    setMinimumSize(size());
    if (isSingleSlot()) {
        setObjectName(QStringLiteral("frmCheckMail2"));
        for (QWidget *w : std::initializer_list<QWidget *>{cmdNextMailAccount, Label5, Label6})
            w->hide();
    }
    wire();
}

frmCheckMail::~frmCheckMail() = default;

void frmCheckMail::wire()
{
    MailRun *run = m_run.get();
    connect(run, &MailRun::checking, this, &frmCheckMail::showChecking);
    connect(run, &MailRun::counted, this, &frmCheckMail::showCount);
    connect(run, &MailRun::listing, this,
        [this](const QStringList &identities) { listMessages->rows().clear(identities); });
    connect(run, &MailRun::headersRead, this,
        [this](const QList<MailHeader> &headers) { listMessages->rows().append(headers); });
    connect(run, &MailRun::listed, this, &frmCheckMail::showListed);
    connect(run, &MailRun::emptyMailbox, this, [this] {
        if (isSingleSlot())
            hide();
    });
    connect(run, &MailRun::freshMailAsideFromView, this, &frmCheckMail::freshMailWhileMinimised);
    connect(run, &MailRun::failed, this, &frmCheckMail::showFailure);
    connect(run, &MailRun::countdownStarted, this, &frmCheckMail::showCountdown);
    connect(run, &MailRun::countdownTick, this, &frmCheckMail::showTick);
    connect(run, &MailRun::countdownEnded, this, &frmCheckMail::hideCountdown);
    connect(run, &MailRun::processing, this, &frmCheckMail::showProcessing);
    connect(run, &MailRun::leftAccount, this, [this] { setListButtonsEnabled(false); });
    connect(run, &MailRun::betweenAccounts, this, [this] { listMessages->clear(); });
    connect(run, &MailRun::movingOn, this, &frmCheckMail::movingOn);
    connect(run, &MailRun::closeRequested, this, &frmCheckMail::unload);

    connect(
        cmdNextMailAccount, &QPushButton::clicked, this, &frmCheckMail::cmdNextMailAccount_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCheckMail::cmdCancel_Click);
    connect(cmdSelectMessage, &QPushButton::clicked, this, &frmCheckMail::cmdSelectMessage_Click);
    connect(cmdDeleteMessage, &QPushButton::clicked, this, &frmCheckMail::cmdDeleteMessage_Click);
    connect(cmdMailProgram, &QPushButton::clicked, this, &frmCheckMail::cmdMailProgram_Click);
}

void frmCheckMail::resizeEvent(QResizeEvent *event)
{
    // The headers list grows with the window; the compact layout keeps its fixed places.
    if (!listMessages->isHidden())
        MessageList::fitToWindow(*this, event->size());
    QWidget::resizeEvent(event);
}

QString frmCheckMail::accountName(int slot) const
{
    return m_check.settings().text(Keys::AccountName(slot));
}

void frmCheckMail::useCompactLayout()
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             Label1, Label2, Label3, listMessages, cmdDeleteMessage, cmdSelectMessage})
        w->hide();
    if (isSingleSlot()) {
        Label4->move(8, 40);
        Label4->resize(440, 18);
        MessageList::placeCompactButtons(*this, {cmdMailProgram, cmdCancel});
        return;
    }
    Label4->move(8, 56);
    Label4->resize(440, 18);
    Label6->move(192, 40);
    // The countdown to the next account, inside the small window.
    Label5->setGeometry(8, 74, 440, 18);
    MessageList::placeCompactButtons(*this, {cmdNextMailAccount, cmdMailProgram, cmdCancel});
}

void frmCheckMail::setListButtonsEnabled(bool enabled)
{
    for (QWidget *w :
        std::initializer_list<QWidget *>{cmdSelectMessage, cmdDeleteMessage, cmdMailProgram})
        w->setEnabled(enabled);
}

QCoro::Task<> frmCheckMail::Form_Load()
{
    m_run->prepare();
    if (!m_run->headersMode())
        useCompactLayout();
    Label5->hide();
    Label6->hide();
    setListButtonsEnabled(false);
    cmdCancel->setEnabled(false);
    cmdNextMailAccount->setEnabled(false);
    if (m_run->opensMinimised())
        showMinimized();
    else
        show();
    co_await m_run->start();
}

void frmCheckMail::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_run->stop();
    hide();
    deleteLater();
}

// The title bar has no Close. In the multi-account check a close from the window manager or
// Escape acts as Cancel while Cancel may be pressed, and is ignored while a step must not be
// cut short; the single-slot window is left through its buttons alone.
void frmCheckMail::closeEvent(QCloseEvent *event)
{
    if (m_unloaded)
        return;
    event->ignore();
    if (!isSingleSlot() && cmdCancel->isEnabled())
        cmdCancel->click();
}

void frmCheckMail::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !isSingleSlot())
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmCheckMail::showChecking(int slot)
{
    // The log-on may take the whole time-out: the window says which account it waits for,
    // and Cancel ends the wait.
    Label4->setText(tr("Checking mail on %1......").arg(accountName(slot)));
    Label4->show();
    cmdCancel->setEnabled(true);
}

void frmCheckMail::showCount(int slot, int count)
{
    Label4->setText(tr("Number of messages waiting on %1: %2").arg(accountName(slot)).arg(count));
    Label4->show();
}

void frmCheckMail::showListed()
{
    Label4->hide();
    // The multi-account check offers the list's buttons with its countdown.
    if (isSingleSlot()) {
        cmdCancel->setEnabled(true);
        setListButtonsEnabled(true);
    }
}

void frmCheckMail::showFailure(int slotIndex, const QString &cause)
{
    m_check.serverError({this, !isSingleSlot(), slotIndex, {}, {}}, cause);
    // Whatever else waits, the window can always be given up.
    cmdCancel->setEnabled(true);
}

void frmCheckMail::freshMailWhileMinimised()
{
    if (!isMinimized())
        return;
    m_run->noticeNewMail();
    QApplication::alert(this);
    setWindowTitle(tr(kNewMail));
}

void frmCheckMail::showCountdown(int slot, bool afterError)
{
    Label4->show();
    cmdCancel->setEnabled(true);
    if (afterError) {
        Label4->setText(tr("Could not check %1").arg(accountName(slot)));
        return;
    }
    if (m_run->headersMode())
        Label4->setText(tr("Mail on %1").arg(accountName(slot)));
    setListButtonsEnabled(true);
}

void frmCheckMail::showTick(int secondsLeft, bool lastSlot)
{
    const QString left = tr("  %1 second(s)").arg(secondsLeft);
    Label5->show();
    Label5->setText(
        (lastSlot ? tr("Closing Checking Mail Dialog:") : tr("Checking next account:")) + left);
    cmdNextMailAccount->setEnabled(!lastSlot);
}

void frmCheckMail::hideCountdown()
{
    cmdNextMailAccount->setEnabled(false);
    cmdCancel->setEnabled(false);
    Label5->hide();
    Label4->hide();
}

void frmCheckMail::showProcessing(bool on)
{
    Label6->setText(tr("Processing..."));
    Label6->setVisible(on);
}

void frmCheckMail::cmdCancel_Click()
{
    m_run->cancel();
}

void frmCheckMail::cmdNextMailAccount_Click()
{
    m_run->nextAccount();
}
