#pragma once

#include <QDialog>

class QPushButton;

// The About window: what the program is and which version runs.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Loads the window, which shows itself (not modal) and deletes itself when closed.
    static frmAbout *open(QWidget *parent = nullptr);

    QPushButton *cmdOK;
};
