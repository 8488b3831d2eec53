#pragma once

#include <QDialog>

class AppContext;
class MenuTools;
class QCheckBox;
class QPushButton;

// "Close Mail Program": tells the user, before the mail program starts, that the schedule
// waits until it is closed; a box switches the notice off for later launches.
class frmCloseMailProgramMessage : public QDialog
{
    Q_OBJECT

public:
    frmCloseMailProgramMessage(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    // Shows the notice modally and returns when it is closed.
    static void show(AppContext &context, MenuTools &menu, QWidget *parent);

    void Check1_Click();

    QCheckBox *Check1 = nullptr;
    QPushButton *cmdOK = nullptr;

private:
    AppContext &m_context;
    MenuTools &m_menu;
};
