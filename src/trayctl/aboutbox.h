#pragma once

#include <QDialog>

// The control's About window: product name, version and a Close button.
class frmLumenpinAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmLumenpinAbout(QWidget *parent = nullptr);

    static QString productName();
    // major "." minor " (Build " revision ")"
    static QString version();
};
