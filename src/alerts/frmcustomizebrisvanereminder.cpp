#include "alerts/frmcustomizebrisvanereminder.h"

#include "alerts/noticeswitch.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/settings/settingsstore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmCustomizeBrisvaneReminder::frmCustomizeBrisvaneReminder(
    AppContext &context, MenuTools &menu, QWidget *parent)
    : QDialog(parent)
    , m_context(context)
    , m_menu(menu)
    , Check1(new QCheckBox(QStringLiteral("Show this message in the future"), this))
    , cmdOK(new QPushButton(QStringLiteral("&OK"), this))
{
    setObjectName(QStringLiteral("frmCustomizeBrisvaneReminder"));
    setWindowTitle(QStringLiteral("Closing Brisvane Customize Dialog"));
    Check1->setObjectName(QStringLiteral("Check1"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto *text = new QLabel(
        QStringLiteral("To close the Customize Brisvane dialog please click in the bottom left "
                       "section of the dialog box or click or double-click the system tray "
                       "icon."),
        this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Check1);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    Check1->setChecked(true);
    cmdOK->setDefault(true);
    connect(Check1, &QCheckBox::toggled, this, &frmCustomizeBrisvaneReminder::Check1_Click);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(
    AppContext &context, MenuTools &menu, QWidget *parent)
{
    // Only the exact text "True" asks for the reminder.
    if (context.settings().get(Keys::CustomizeBrisvaneReminder) != SettingValues::TrueText)
        return;
    frmCustomizeBrisvaneReminder reminder(context, menu, parent);
    reminder.exec();
}

void frmCustomizeBrisvaneReminder::Check1_Click()
{
    NoticeSwitch::reminder().store(m_context, m_menu, Check1->isChecked());
}
