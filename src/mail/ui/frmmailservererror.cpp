#include "mail/ui/frmmailservererror.h"

#include "connection/linecontroller.h"
#include "mail/mailerror.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailcheck.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"
#include "shell/ui/formhelpers.h"

#include <QLabel>
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
    setWindowTitle(QStringLiteral("Mail Server Error"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow();
    connect(cmdDetails, &QPushButton::clicked, this, &frmMailServerError::cmdDetails_Click);
    connect(cmdNextAccount, &QPushButton::clicked, this, &frmMailServerError::cmdNextAccount_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmMailServerError::cmdClose_Click);
}

void frmMailServerError::buildWindow()
{
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32));
    icon->setGeometry(12, 12, 32, 32);
    Label1
        = new QLabel(QStringLiteral("Mail Server Error, click Details for more information"), this);
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
    cmdNextAccount = button("cmdNextAccount", QStringLiteral("&Next Account"), 56);
    cmdClose = button("cmdClose", QStringLiteral("&Close"), 170);
    cmdDetails = button("cmdDetails", QStringLiteral("&Details>>"), 284);
    setFixedSize(kClosedSize);
}

int frmMailServerError::slotCount() const
{
    return m_check.settings().count(Keys::MailSlotCount);
}

void frmMailServerError::Form_Load(const MailCheck::Failure &failure)
{
    m_failure = failure;
    const int n = slotCount();
    const bool lastSlot = n >= 1 && failure.slotIndex == n - 1;
    cmdNextAccount->setEnabled(failure.multiAccount && !lastSlot);
    show();
    raise();
}

void frmMailServerError::cmdDetails_Click()
{
    cmdDetails->setEnabled(false);
    const QString br = Form::kLineBreak;
    // Not a server that failed but one the password may not go to (or no password): say so.
    if (m_failure.number == MailError::ClearTextRefused
        || m_failure.number == MailError::TlsRequired
        || m_failure.number == MailError::PasswordUnavailable) {
        Label2->setText(QStringLiteral("Mail Account ") + m_failure.accountName
            + QStringLiteral(" did not log on") + br + br + m_failure.cause);
        setFixedSize(kDetailsSize);
        return;
    }
    Label2->setText(QStringLiteral("Mail Account ") + m_failure.accountName
        + QStringLiteral(" is unresponsive") + br + br
        + QStringLiteral("This error may be resulting in an incorrect username, password, or "
                         "domain name or the mail server is unresponsive at this time. Please "
                         "check your settings on the Mail tab and try again later."));
    setFixedSize(kDetailsSize);
}

void frmMailServerError::cmdNextAccount_Click()
{
    close();
    // A scheduled check whose log-on failed has already been closed by its starter: then
    // there is no check to go on with.
    QPointer<frmCheckMail> window = qobject_cast<frmCheckMail *>(m_failure.window.data());
    if (!m_failure.multiAccount || !window || window->isUnloaded())
        return;
    window->showNormal();
    window->cmdNextMailAccount_Click();
}

void frmMailServerError::cmdClose_Click()
{
    m_check.setTrayIcon(QStringLiteral("net10a.ico"));
    // An error of the single-slot window leaves that window open; its own Cancel closes it.
    // Only the check that failed is closed, never one that started after the error.
    if (m_failure.multiAccount && m_failure.window
        && m_failure.window.data() == m_check.checkWindow())
        m_check.unloadCheckWindow();
    close();
}
