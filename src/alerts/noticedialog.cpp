#include "alerts/noticedialog.h"

#include "clock/clock.h"
#include "shell/appcontext.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

NoticeDialog::NoticeDialog(
    AppContext &context, MenuTools &menu, NoticeSwitch notice, const Face &face, QWidget *parent)
    : QDialog(parent)
    , Check1(new QCheckBox(tr("&Show this message in the future"), this))
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

QCoro::Task<std::optional<int>> NoticeDialog::answer(NoticeDialog *notice)
{
    QPointer<NoticeDialog> self(notice);
    notice->setWindowModality(Qt::ApplicationModal);
    notice->show();
    notice->raise();
    const bool stayed = co_await notice->m_context.clock().until(
        [notice] { return !notice->isVisible(); }, notice, &QDialog::finished, notice);
    if (!stayed || !self)
        co_return std::nullopt;
    const int result = self->result();
    self->deleteLater();
    co_return result;
}
