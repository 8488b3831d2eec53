#pragma once

#include "ui_settingstab.h"

#include <QWidget>

class AppContext;
class Lumenpin;

// The Settings tab: window behaviour options, tray icon options and mail checking features.
class SettingsTab : public QWidget, public Ui::SettingsTab
{
    Q_OBJECT

public:
    SettingsTab(AppContext &context, Lumenpin &trayIcon, QWidget *parent = nullptr);

    // The tip the tray icon shows while no connection runs.
    static QString idleTrayTip(bool connectSingleClick);
    void applyIdleTrayTip();

    void chkMinimizeTaskbar_Click();
    void chkMinimizeSystemTray_Click();
    void chkMinimizeTaskbarafterConnecting_Click();
    void chkMinimizeSystemTrayafterConnecting_Click();
    void chkReconnectwhenDisconnected_Click();
    void chkShowConnect_Click();
    void chkConnectSingleClick_Click();
    void chkMessageHeadersOnly_Click();
    void chkCheckMailwhenMinimized_Click();
    void cmdDetails_Click();
    void cmdDetails2_Click();

private:
    void storeCheck(QCheckBox *box, const struct SettingKey &key);
    void excludePartner(QCheckBox *box, QCheckBox *partner);

    AppContext &m_context;
    Lumenpin &m_trayIcon;
};
