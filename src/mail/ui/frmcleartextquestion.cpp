#include "mail/ui/frmcleartextquestion.h"

#include "clock/clock.h"
#include "shell/appcontext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

namespace {
constexpr int kYes = 1;
constexpr int kNo = 2;
} // namespace

frmClearTextQuestion::frmClearTextQuestion(
    const QString &account, const QString &server, QWidget *parent)
    : QDialog(parent)
    , Label1(new QLabel(this))
    , cmdYes(new QPushButton(tr("Send &unencrypted"), this))
    , cmdNo(new QPushButton(tr("&Don't send"), this))
{
    setObjectName(QStringLiteral("frmClearTextQuestion"));
    // A slot without an account name is still named, not shown as "".
    const QString named = account.isEmpty() ? tr("this account") : u'"' + account + u'"';
    setWindowTitle(account.isEmpty() ? tr("Brisvane") : tr("Brisvane: %1").arg(account));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(360);
    Label1->setText(tr("The server %1 offers no encryption. Send the password unencrypted?\n\n"
                       "Anyone on the way to the server could read it. The answer is kept for "
                       "%2; until it is yes, its checks fail.")
                        .arg(server, named));
    cmdYes->setObjectName(QStringLiteral("cmdYes"));
    cmdNo->setObjectName(QStringLiteral("cmdNo"));
    cmdNo->setDefault(true);
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdYes);
    buttons->addWidget(cmdNo);
    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(Label1, 0, 1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    // Closing the window (Escape, the title bar) answers nothing: 0.
    connect(cmdYes, &QPushButton::clicked, this, [this] { done(kYes); });
    connect(cmdNo, &QPushButton::clicked, this, [this] { done(kNo); });
}

QCoro::Task<std::optional<bool>> frmClearTextQuestion::ask(
    AppContext &context, QString account, QString server)
{
    auto *question = new frmClearTextQuestion(account, server);
    QPointer<frmClearTextQuestion> self(question);
    question->setWindowModality(Qt::ApplicationModal);
    question->show();
    question->raise();
    const bool stayed = co_await context.clock().until(
        [question] { return !question->isVisible(); }, question, &QDialog::finished, question);
    if (!stayed || !self)
        co_return std::nullopt;
    const int result = self->result();
    self->deleteLater();
    if (result != kYes && result != kNo)
        co_return std::nullopt;
    co_return result == kYes;
}
