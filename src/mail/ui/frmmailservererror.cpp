#include "mail/ui/frmmailservererror.h"

#include "connection/linecontroller.h"
#include "mail/slotsecurity.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailcheck.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"
#include "shell/ui/formhelpers.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

namespace {
// The dialog's two sizes: closed, and opened by Details so that the text shows.
constexpr QSize kClosedSize(404, 96);
constexpr QSize kDetailsSize(404, 210);
} // namespace

frmMailServerError::frmMailServerError(MailCheck &check, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
    , m_check(check)
{
    setObjectName(QStringLiteral("frmMailServerError"));
    setWindowTitle(tr("Mail Server Error"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow();
    connect(cmdDetails, &QPushButton::clicked, this, &frmMailServerError::cmdDetails_Click);
    connect(cmdNextAccount, &QPushButton::clicked, this, &frmMailServerError::cmdNextAccount_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmMailServerError::cmdClose_Click);
    connect(cmdTrust, &QPushButton::clicked, this, &frmMailServerError::cmdTrust_Click);
}

void frmMailServerError::buildWindow()
{
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32));
    icon->setGeometry(12, 12, 32, 32);
    Label1 = new QLabel(tr("Mail Server Error, click Details for more information"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(56, 12, 340, 32);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(12, 96, 380, 104);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    const auto button = [this](const char *name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 56, 108, 27);
        return b;
    };
    cmdNextAccount = button("cmdNextAccount", tr("&Next Account"), 56);
    cmdClose = button("cmdClose", tr("&Close"), 170);
    cmdDetails = button("cmdDetails", tr("&Details>>"), 284);
    cmdTrust = button("cmdTrust", tr("&Trust Certificate"), 12);
    cmdTrust->hide();
    setFixedSize(kClosedSize);
}

void frmMailServerError::Form_Load(const MailCheck::Failure &failure)
{
    m_failure = failure;
    cmdTrust->hide();
    cmdTrust->setText(tr("&Trust Certificate"));
    cmdTrust->setEnabled(true);
    if (m_watched)
        disconnect(m_watched);
    m_watched = {};
    if (auto *window = qobject_cast<frmCheckMail *>(failure.window.data()))
        m_watched
            = connect(window, &frmCheckMail::movingOn, this, &frmMailServerError::checkMovedOn);
    cmdNextAccount->setEnabled(waitingCheck() != nullptr);
    // A further error after Details: the text names the new failure.
    if (!cmdDetails->isEnabled()) {
        cmdDetails->setEnabled(true);
        cmdDetails_Click();
    }
    show();
    raise();
}

void frmMailServerError::cmdDetails_Click()
{
    cmdDetails->setEnabled(false);
    const QString br = Form::kLineBreak;
    Label2->setText(tr("Mail Account %1 is unresponsive").arg(m_failure.accountName) + br + br
        + tr("This error may be resulting in an incorrect username, password, or "
             "domain name or the mail server is unresponsive at this time. Please "
             "check your settings on the Mail tab and try again later.")
        + (m_failure.cause.isEmpty() ? QString() : br + br + m_failure.cause) + certificateText());
    // Room for the cause under the general words, and for the trust button under them.
    const bool certificate = !m_failure.certificate.isEmpty();
    const int text = Label2->heightForWidth(Label2->width());
    const int below = certificate ? cmdTrust->height() + 24 : 12;
    setFixedSize(kDetailsSize.width(), qMax(kDetailsSize.height(), Label2->y() + text + below));
    Label2->resize(Label2->width(), height() - Label2->y() - below);
    cmdTrust->setGeometry(12, height() - cmdTrust->height() - 12,
        qMax(cmdTrust->width(), cmdTrust->sizeHint().width()), cmdTrust->height());
    cmdTrust->setVisible(certificate);
}

// What the user needs to know of a refused certificate to trust it, or nothing.
QString frmMailServerError::certificateText() const
{
    const SlotSecurity::CertificateFacts facts
        = SlotSecurity::certificateFacts(m_failure.certificate);
    if (facts.sha256.isEmpty())
        return {};
    const QString br = Form::kLineBreak;
    const QLocale locale;
    return br + br + tr("Certificate: %1").arg(facts.subject) + br
        + tr("Issued by: %1").arg(facts.issuer) + br + tr("SHA-256: %1").arg(facts.fingerprint) + br
        + tr("Valid from %1 to %2")
              .arg(locale.toString(facts.validFrom, QLocale::ShortFormat),
                  locale.toString(facts.validTo, QLocale::ShortFormat));
}

// The account's next log-on accepts this certificate, and only this one, for its server.
void frmMailServerError::cmdTrust_Click()
{
    const SlotSecurity::CertificateFacts facts
        = SlotSecurity::certificateFacts(m_failure.certificate);
    if (facts.sha256.isEmpty())
        return;
    SlotSecurity::trustCertificate(
        m_check.settings(), qBound(0, m_failure.slotIndex, 4) + 1, facts.sha256);
    cmdTrust->setText(tr("Trusted"));
    cmdTrust->setEnabled(false);
}

// The check of the failed account, while it still waits on that account to go on.
frmCheckMail *frmMailServerError::waitingCheck() const
{
    auto *window = qobject_cast<frmCheckMail *>(m_failure.window.data());
    if (!m_failure.multiAccount || !window || window->isUnloaded()
        || window != m_check.checkWindow() || !window->run().waitsAfterError(m_failure.slotIndex))
        return nullptr;
    return window;
}

void frmMailServerError::cmdNextAccount_Click()
{
    m_buttonClosing = true;
    close();
    if (frmCheckMail *window = waitingCheck()) {
        window->showNormal();
        window->cmdNextMailAccount_Click();
    }
}

// The check went on by itself (its countdown ran out, or its own Next Mail Account).
void frmMailServerError::checkMovedOn()
{
    if (!waitingCheck())
        cmdNextAccount->setEnabled(false);
}

// However the dialog is closed (its title bar, the window manager, Escape), it acts as Close:
// a check left waiting on it would otherwise keep every later check out.
void frmMailServerError::closeEvent(QCloseEvent *event)
{
    if (!m_buttonClosing) {
        m_buttonClosing = true;
        cmdClose_Click();
    }
    QWidget::closeEvent(event);
}

void frmMailServerError::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void frmMailServerError::withdraw()
{
    m_buttonClosing = true;
    close();
}

void frmMailServerError::cmdClose_Click()
{
    m_buttonClosing = true;
    m_check.setTrayIcon(QStringLiteral("net10a.ico"));
    // An error of the single-slot window leaves that window open; its own Cancel closes it.
    // Only the check that failed is closed, never one that started after the error.
    if (m_failure.multiAccount && m_failure.window
        && m_failure.window.data() == m_check.checkWindow())
        m_check.unloadCheckWindow();
    close();
}
