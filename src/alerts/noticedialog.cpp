#include "alerts/noticedialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

NoticeDialog::NoticeDialog(
    AppContext &context, MenuTools &menu, NoticeSwitch notice, const Face &face, QWidget *parent)
    : QDialog(parent)
    , Check1(new QCheckBox(QStringLiteral("Show this message in the future"), this))
    , m_context(context)
    , m_menu(menu)
    , m_notice(std::move(notice))
    , m_buttons(new QHBoxLayout)
{
    setObjectName(face.objectName);
    setWindowTitle(face.title);
    auto *text = new QLabel(face.text, this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setChecked(true);
    m_buttons->addWidget(Check1);
    m_buttons->addStretch();
    auto *layout = new QGridLayout(this);
    if (face.icon) {
        auto *icon = new QLabel(this);
        icon->setPixmap(style()->standardIcon(*face.icon).pixmap(32));
        layout->addWidget(icon, 0, 0, Qt::AlignTop);
    }
    layout->addWidget(text, 0, 1);
    layout->addLayout(m_buttons, 1, 0, 1, 2);
    connect(Check1, &QCheckBox::toggled, this, &NoticeDialog::Check1_Click);
}

QPushButton *NoticeDialog::addButton(const QString &caption, const QString &objectName)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(objectName);
    m_buttons->addWidget(button);
    return button;
}

void NoticeDialog::Check1_Click()
{
    m_notice.store(m_context, m_menu, Check1->isChecked());
}
