#include "mail/ui/frmclosemailprogrammessage.h"

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

frmCloseMailProgramMessage::frmCloseMailProgramMessage(
    AppContext &context, MenuTools &menu, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_menu(menu)
{
    setObjectName(QStringLiteral("frmCloseMailProgramMessage"));
    setWindowTitle(QStringLiteral("Close Mail Program"));
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32));
    auto *text = new QLabel(
        QStringLiteral("Please close your mail program after checking your messages to enable "
                       "Brisvane to continue checking for messages every <x> minutes. Your mail "
                       "program will start now."),
        this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    Check1 = new QCheckBox(QStringLiteral("Show this message in the future"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Check1);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto *layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(text, 0, 1);
    layout->addLayout(buttons, 1, 0, 1, 2);
    setFixedWidth(420);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Check1, &QCheckBox::toggled, this, &frmCloseMailProgramMessage::Check1_Click);
}

void frmCloseMailProgramMessage::show(AppContext &context, MenuTools &menu, QWidget *parent)
{
    frmCloseMailProgramMessage notice(context, menu, parent);
    notice.exec();
}

void frmCloseMailProgramMessage::Check1_Click()
{
    NoticeSwitch::closeMailProgram().store(m_context, m_menu, Check1->isChecked());
}
