#pragma once

#include "alerts/noticeswitch.h"

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
