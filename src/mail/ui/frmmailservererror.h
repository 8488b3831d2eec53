#pragma once

#include "mail/ui/mailcheck.h"

#include <QWidget>

class QLabel;
class frmCheckMail;
class QPushButton;

// "Mail Server Error": tells which account a check could not reach and lets the user go on
// with the next account or give the check up. Not modal; a further error shows it again.
class frmMailServerError : public QWidget
{
    Q_OBJECT

public:
    explicit frmMailServerError(MailCheck &check, QWidget *parent = nullptr);

    // Opening for `failure`: the account it names and which buttons apply; then shown.
    void Form_Load(const MailCheck::Failure &failure);
    void cmdDetails_Click();
    void cmdNextAccount_Click();
    void cmdClose_Click();
    void cmdTrust_Click();
    const MailCheck::Failure &failure() const { return m_failure; }
    // The failure is over (its account logged on again): the dialog goes, touching nothing.
    void withdraw();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *cmdNextAccount = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *cmdDetails = nullptr;
    // Shown with the details of a certificate the handshake refused: trusts it for the slot.
    QPushButton *cmdTrust = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWindow();
    QString certificateText() const;
    frmCheckMail *waitingCheck() const;
    void checkMovedOn();

    MailCheck &m_check;
    MailCheck::Failure m_failure;
    QMetaObject::Connection m_watched; // the failed check's movingOn
    bool m_buttonClosing = false; // closed by one of its buttons
};
