#include "mail/ui/frmdeletemessageconfirmation.h"

#include "alerts/noticeswitch.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/settings/settingsstore.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

frmDeleteMessageConfirmation::frmDeleteMessageConfirmation(
    AppContext &context, MenuTools &menu, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_menu(menu)
{
    setObjectName(QStringLiteral("frmDeleteMessageConfirmation"));
    setWindowTitle(QStringLiteral("Deleting Messages"));
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32));
    auto *text = new QLabel(QStringLiteral("Once you delete the following message(s), they will be "
                                           "permanently erased. Are you sure you would like to "
                                           "delete the selected message(s)?"),
        this);
    text->setWordWrap(true);
    Check1 = new QCheckBox(QStringLiteral("Show this message in the future"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    cmdYes = new QPushButton(QStringLiteral("&Yes"), this);
    cmdYes->setObjectName(QStringLiteral("cmdYes"));
    cmdNo = new QPushButton(QStringLiteral("&No"), this);
    cmdNo->setObjectName(QStringLiteral("cmdNo"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Check1);
    buttons->addStretch();
    buttons->addWidget(cmdYes);
    buttons->addWidget(cmdNo);
    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(text, 0, 1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    setFixedWidth(420);
    connect(cmdYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdNo, &QPushButton::clicked, this, &QDialog::reject);
    connect(Check1, &QCheckBox::toggled, this, &frmDeleteMessageConfirmation::Check1_Click);
}

bool frmDeleteMessageConfirmation::ask(AppContext &context, MenuTools &menu, QWidget *parent)
{
    frmDeleteMessageConfirmation dialog(context, menu, parent);
    return dialog.exec() == QDialog::Accepted;
}

void frmDeleteMessageConfirmation::Check1_Click()
{
    NoticeSwitch::deleteConfirmation().store(m_context, m_menu, Check1->isChecked());
}
