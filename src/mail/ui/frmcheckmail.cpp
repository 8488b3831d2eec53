#include "mail/ui/frmcheckmail.h"

#include "mail/ui/mailshared.h"
#include "mail/ui/messagelist.h"
#include "settings/settingsmodel.h"
#include "ui_frmcheckmail.h"

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
    , m_ui(std::make_unique<Ui::frmCheckMail>())
    , m_check(check)
    , m_run(std::move(run))
{
    // The title bar has no Close: the window is left through its buttons.
    m_ui->setupUi(this);
    m_ui->listMessages->setHeadings({m_ui->Label1, m_ui->Label2, m_ui->Label3});
    setMinimumSize(size());
    if (isSingleSlot()) {
        setObjectName(QStringLiteral("frmCheckMail2"));
        for (QWidget *w :
            std::initializer_list<QWidget *>{m_ui->cmdNextMailAccount, m_ui->Label5, m_ui->Label6})
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
        [this](const QStringList &identities) { m_ui->listMessages->rows().clear(identities); });
    connect(run, &MailRun::headersRead, this,
        [this](const QList<MailHeader> &headers) { m_ui->listMessages->rows().append(headers); });
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
    connect(run, &MailRun::betweenAccounts, this, [this] { m_ui->listMessages->clear(); });
    connect(run, &MailRun::movingOn, this, &frmCheckMail::movingOn);
    connect(run, &MailRun::closeRequested, this, &frmCheckMail::unload);
    connect(&run->control(), &MailControl::DeletionProgress, this,
        [this](int answered, int sent) { showDeletionProgress(answered, sent, false); });

    connect(m_ui->cmdNextMailAccount, &QPushButton::clicked, this,
        &frmCheckMail::cmdNextMailAccount_Click);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, &frmCheckMail::cmdCancel_Click);
    connect(
        m_ui->cmdSelectMessage, &QPushButton::clicked, this, &frmCheckMail::cmdSelectMessage_Click);
    connect(
        m_ui->cmdDeleteMessage, &QPushButton::clicked, this, &frmCheckMail::cmdDeleteMessage_Click);
    connect(m_ui->cmdMailProgram, &QPushButton::clicked, this, &frmCheckMail::cmdMailProgram_Click);
    connect(m_ui->cmdMarkRead, &QPushButton::clicked, this, &frmCheckMail::cmdMarkRead_Click);
    connect(run, &MailRun::readMarked, this, [this](const QList<int> &numbers) {
        for (int number : numbers)
            m_ui->listMessages->rows().markRead(number - 1);
    });
}

void frmCheckMail::resizeEvent(QResizeEvent *event)
{
    // The headers list grows with the window; the compact layout keeps its fixed places.
    if (!m_ui->listMessages->isHidden())
        MessageList::fitToWindow(*m_ui, event->size());
    QWidget::resizeEvent(event);
}

bool frmCheckMail::listsNothing() const
{
    return m_ui->listMessages->count() == 0;
}

QString frmCheckMail::accountName(int slot) const
{
    return m_check.settings().text(Keys::AccountName(slot));
}

void frmCheckMail::useCompactLayout()
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_ui->Label1, m_ui->Label2, m_ui->Label3,
             m_ui->listMessages, m_ui->cmdDeleteMessage, m_ui->cmdSelectMessage, m_ui->cmdMarkRead})
        w->hide();
    if (isSingleSlot()) {
        m_ui->Label4->move(8, 40);
        m_ui->Label4->resize(440, 18);
        MessageList::placeCompactButtons(*this, {m_ui->cmdMailProgram, m_ui->cmdCancel});
        return;
    }
    m_ui->Label4->move(8, 56);
    m_ui->Label4->resize(440, 18);
    m_ui->Label6->move(192, 40);
    // The countdown to the next account, inside the small window.
    m_ui->Label5->setGeometry(8, 74, 440, 18);
    MessageList::placeCompactButtons(
        *this, {m_ui->cmdNextMailAccount, m_ui->cmdMailProgram, m_ui->cmdCancel});
}

void frmCheckMail::setListButtonsEnabled(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_ui->cmdSelectMessage, m_ui->cmdDeleteMessage, m_ui->cmdMailProgram})
        w->setEnabled(enabled);
    // Only a server that keeps read state (IMAP) can be told a message was read.
    m_ui->cmdMarkRead->setEnabled(enabled && m_run->control().hasReadState());
}

QCoro::Task<> frmCheckMail::Form_Load()
{
    m_run->prepare();
    if (!m_run->headersMode())
        useCompactLayout();
    m_ui->Label5->hide();
    m_ui->Label6->hide();
    setListButtonsEnabled(false);
    m_ui->cmdCancel->setEnabled(false);
    m_ui->cmdNextMailAccount->setEnabled(false);
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
    // Either window's close stops a deletion under way.
    if (stopDeleting())
        return;
    if (!isSingleSlot() && m_ui->cmdCancel->isEnabled())
        m_ui->cmdCancel->click();
}

void frmCheckMail::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && (m_deleting || !isSingleSlot()))
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmCheckMail::showChecking(int slot)
{
    // The log-on may take the whole time-out: the window says which account it waits for,
    // and Cancel ends the wait.
    m_ui->Label4->setText(tr("Checking mail on %1......").arg(accountName(slot)));
    m_ui->Label4->show();
    m_ui->cmdCancel->setEnabled(true);
}

void frmCheckMail::showCount(int slot, int count)
{
    m_ui->Label4->setText(
        tr("Number of messages waiting on %1: %2").arg(accountName(slot)).arg(count));
    m_ui->Label4->show();
}

void frmCheckMail::showListed()
{
    m_ui->Label4->hide();
    // The multi-account check offers the list's buttons with its countdown.
    if (isSingleSlot()) {
        m_ui->cmdCancel->setEnabled(true);
        setListButtonsEnabled(true);
    }
}

void frmCheckMail::showFailure(int slotIndex, const QString &cause)
{
    m_check.serverError(
        {this, !isSingleSlot(), slotIndex, {}, {}, m_run->control().RefusedCertificate()}, cause);
    // Whatever else waits, the window can always be given up.
    m_ui->cmdCancel->setEnabled(true);
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
    m_ui->Label4->show();
    m_ui->cmdCancel->setEnabled(true);
    if (afterError) {
        m_ui->Label4->setText(tr("Could not check %1").arg(accountName(slot)));
        return;
    }
    if (m_run->headersMode())
        m_ui->Label4->setText(tr("Mail on %1").arg(accountName(slot)));
    setListButtonsEnabled(true);
}

void frmCheckMail::showTick(int secondsLeft, bool lastSlot)
{
    const QString left = tr("  %1 second(s)").arg(secondsLeft);
    m_ui->Label5->show();
    m_ui->Label5->setText(
        (lastSlot ? tr("Closing Checking Mail Dialog:") : tr("Checking next account:")) + left);
    m_ui->cmdNextMailAccount->setEnabled(!lastSlot);
}

// Cancel stays live: the gap before the next account and "Processing..." may be cut short.
void frmCheckMail::hideCountdown()
{
    m_ui->cmdNextMailAccount->setEnabled(false);
    m_ui->Label5->hide();
    m_ui->Label4->hide();
}

void frmCheckMail::showProcessing(bool on)
{
    m_ui->Label6->setText(tr("Processing..."));
    m_ui->Label6->setVisible(on);
}

void frmCheckMail::cmdCancel_Click()
{
    if (!stopDeleting())
        m_run->cancel();
}

void frmCheckMail::cmdNextMailAccount_Click()
{
    m_run->nextAccount();
}
