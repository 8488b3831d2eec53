#pragma once

#include <QDialog>

class AppContext;
class MenuTools;
class QCheckBox;
class QPushButton;

// The reminder of how to put the Customize dialog back into the tray.
class frmCustomizeBrisvaneReminder : public QDialog
{
    Q_OBJECT

public:
    frmCustomizeBrisvaneReminder(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    // Shows the reminder modally when the user still wants it; otherwise does nothing.
    static void CustomizeBrisvaneReminder(
        AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    void Check1_Click();

private:
    AppContext &m_context;
    MenuTools &m_menu;
    QCheckBox *Check1;
    QPushButton *cmdOK;
};
