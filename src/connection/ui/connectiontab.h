#pragma once

#include "alerts/alertcontrols.h"

#include <QWidget>

#include <memory>

namespace Ui {
class ConnectionTab;
}

class AppContext;
class LineController;

// The Connection(s) tab: the entry list, the logon choice, the busy redial count, the start-up
// dial and the two line alerts, and the line as the line controller reports it (the state
// list, the dial buttons). Dialling itself is the controller's.
class ConnectionTab : public QWidget
{
    Q_OBJECT

public:
    ConnectionTab(AppContext &context, LineController &line, QWidget *parent = nullptr);
    ~ConnectionTab() override;

    // Shows the settings and the line as they stand, and follows them from now on.
    void load();
    // The connected time, as the dialog shows it while it is open.
    void showConnectedTime(const QString &time);
    // The line alerts' boxes and Browse buttons, for the alert controls.
    void addAlertButtons(AlertControls::Widgets &widgets) const;

    void cmdConnectionDetails_Click();
    void cmdUserDetails_Click();
    void cmdDefaultConnection_Click();
    void chkUserLogonSettings_Click();
    void cmdUserLogonSettings_Click();
    void chkConnectionStartup_Click();
    void chkReconnectLineBusy_Click();
    void UpDown4_Change();

Q_SIGNALS:
    // "Usage..." asks for the Usage window.
    void usageRequested();

public:
    // "Dial using User Settings" decides which of the entry list and the logon button is live.
    void applyUserLogonChoice();
    void applyReconnectLineBusy();

private:
    static QString entrySteps(const QString &service);
    void followLine();
    void loadEntryList();
    void setDialButtons(bool connectEnabled, bool disconnectEnabled);
    void log(const QString &line);

    const std::unique_ptr<Ui::ConnectionTab> m_ui;
    AppContext &m_context;
    LineController &m_line;
};
