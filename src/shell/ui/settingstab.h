#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class SettingsTab;
}

class AppContext;
class QCheckBox;
class LineController;

// The Settings tab: window behaviour options, tray icon options and mail checking features.
class SettingsTab : public QWidget
{
    Q_OBJECT

public:
    SettingsTab(AppContext &context, LineController &line, QWidget *parent = nullptr);
    ~SettingsTab() override;

    // Shows the settings and follows them from now on; the two "on startup" boxes are usable
    // only while the dialog is loaded at start-up.
    void load(bool dialogOnStartup);
    // The two minimise boxes are live only while the preferences allow them.
    void enableMinimizeChoices(bool enabled);

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

    const std::unique_ptr<Ui::SettingsTab> m_ui;
    AppContext &m_context;
};
