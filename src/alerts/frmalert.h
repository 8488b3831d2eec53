#pragma once

#include <QWidget>

#include <memory>

class AppContext;

namespace Ui {
class frmAlert;
}

// "Sound Alerts": chooses and tries out the wave file of every alert kind whose "Selected"
// mark is "Yes". Not modal; it deletes itself when unloaded (OK, Cancel or the title bar).
class frmAlert : public QWidget
{
    Q_OBJECT

public:
    explicit frmAlert(AppContext &context, QWidget *parent = nullptr);
    ~frmAlert() override;

    // Shows the window centred over `owner` when it opens; an open one only comes forward.
    void showOver(QWidget *owner);

    void cmdBrowse_Click();
    void cmdTest_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    QString alertText() const;

private:
    AppContext &m_context;
    std::unique_ptr<Ui::frmAlert> m_ui;
};
