#pragma once

#include <QDialog>

namespace pinlib6 {

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

} // namespace pinlib6
