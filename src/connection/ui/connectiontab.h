#pragma once

#include "ui_connectiontab.h"

#include <QWidget>

class AppContext;
class SettingsStore;

// The Connection(s) tab: the entry list, the logon choice, the busy redial count, the start-up
// dial and the two line alerts. Dialling itself is the connection manager's.
class ConnectionTab : public QWidget, public Ui::ConnectionTab
{
    Q_OBJECT

public:
    explicit ConnectionTab(AppContext &context, QWidget *parent = nullptr);

    void cmdConnectionDetails_Click();
    void cmdUserDetails_Click();
    void cmdDefaultConnection_Click();
    void chkUserLogonSettings_Click();
    void cmdUserLogonSettings_Click();
    void chkConnectionStartup_Click();
    void chkReconnectLineBusy_Click();
    void UpDown4_Change();

    // "Dial using User Settings" decides which of the entry list and the logon button is live.
    void applyUserLogonChoice();
    void applyReconnectLineBusy();
    // The stored busy redial count; the label's count when none is stored or it is no number.
    int busyRetryCount() const;
    // The same before the tab is built: the label shows 1 until a count is stored.
    static constexpr int kDefaultBusyRetries = 1;
    static int storedBusyRetryCount(const SettingsStore &store);

private:
    AppContext &m_context;
};
