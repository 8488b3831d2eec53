#pragma once

#include "alerts/noticeswitch.h"

#include <QCoro/QCoroTask>
#include <QDialog>
#include <QStyle>

#include <optional>

class AppContext;
class MenuTools;
class QCheckBox;
class QHBoxLayout;
class QPushButton;

// A notice the user can switch off: its text (with an icon beside it when given), and below
// it the box "Show this message in the future", ticked, and the notice's buttons. The box
// stores the switch in all its places the moment it changes.
class NoticeDialog : public QDialog
{
    Q_OBJECT

public:
    struct Face {
        QString objectName;
        QString title;
        QString text;
        std::optional<QStyle::StandardPixmap> icon;
    };

    NoticeDialog(AppContext &context, MenuTools &menu, NoticeSwitch notice, const Face &face,
        QWidget *parent = nullptr);

    void Check1_Click();

    // Shows `notice` application-modal and suspends until one of its buttons closes it. No
    // event loop runs inside the caller meanwhile, so timers and other waits go on as usual.
    // Ends with the dialog's result, or nothing when the notice went away first (with its
    // parent window): then the caller's window may be gone too. The notice frees itself.
    static QCoro::Task<std::optional<int>> answer(NoticeDialog *notice);

    QCheckBox *Check1 = nullptr;

protected:
    // A button at the end of the row below the text.
    QPushButton *addButton(const QString &caption, const QString &objectName);

private:
    AppContext &m_context;
    MenuTools &m_menu;
    NoticeSwitch m_notice;
    QHBoxLayout *m_buttons = nullptr;
};
