#pragma once

#include <QDialog>

class AppContext;
class MenuTools;
class QCheckBox;
class QPushButton;

// "Deleting Messages": asks before ticked messages are deleted, with a box that switches the
// question off for later deletions.
class frmDeleteMessageConfirmation : public QDialog
{
    Q_OBJECT

public:
    frmDeleteMessageConfirmation(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    // Shows the dialog modally; true when the user pressed Yes.
    static bool ask(AppContext &context, MenuTools &menu, QWidget *parent);

    void Check1_Click();

    QCheckBox *Check1 = nullptr;
    QPushButton *cmdYes = nullptr;
    QPushButton *cmdNo = nullptr;

private:
    AppContext &m_context;
    MenuTools &m_menu;
};
