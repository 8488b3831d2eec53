#pragma once

#include <QDialog>

#include <functional>

class AppContext;
class MenuTools;
class QCheckBox;
class QLabel;
class QPushButton;
class QTimeEdit;
class QVBoxLayout;
class UsageLimitBox;

// Switches four notices on or off. Each box has a box-state key that fills it, a feature key
// the feature reads, and a check-mark tool of the same meaning in the popup menu. Below them,
// "Start Brisvane when I log in" writes or removes the autostart entry at once (OK and Cancel
// do not touch it) and shows whether the entry exists.
class frmPreferences : public QDialog
{
    Q_OBJECT

public:
    frmPreferences(AppContext &context, MenuTools &menu,
        std::function<void(bool)> enableStartupBoxes, QWidget *parent = nullptr);

    // Loads the window, which shows itself (not modal) and deletes itself when closed.
    static frmPreferences *open(AppContext &context, MenuTools &menu,
        std::function<void(bool)> enableStartupBoxes, QWidget *parent = nullptr);

    QCheckBox *chkCustomizeBrisvaneDialogonStartup;
    QCheckBox *chkCustomizeBrisvaneDialogReminder;
    QCheckBox *chkCloseMailProgramMessageDialog;
    QCheckBox *chkDeleteMessageConfirmationDialog;
    // Not one of the notices above: stored the moment it is clicked, OK or Cancel.
    QCheckBox *chkDesktopNotifications;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QCheckBox *chkStartAtLogin;
    // Quiet hours: the box and the range, saved with OK.
    QCheckBox *chkQuietHours = nullptr;
    QTimeEdit *timQuietFrom = nullptr;
    QTimeEdit *timQuietUntil = nullptr;
    // The monthly usage limit, saved with OK.
    UsageLimitBox *usageLimit;
    // Where the passwords are kept (the desktop keyring or the settings file).
    QLabel *lblPasswords = nullptr;

    void cmdOK_Click();

private:
    struct Row;
    QList<Row> rows() const;
    void addStartAtLogin(QVBoxLayout *layout);
    void addPasswordsLine(QVBoxLayout *layout);
    void addQuietHours(QVBoxLayout *layout);
    void saveQuietHours();
    bool applyStartAtLogin();

    AppContext &m_context;
    MenuTools &m_menu;
    std::function<void(bool)> m_enableStartupBoxes;
};
