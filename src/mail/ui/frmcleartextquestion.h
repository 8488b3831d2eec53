#pragma once

#include <QCoro/QCoroTask>
#include <QDialog>

#include <optional>

class AppContext;
class QLabel;
class QPushButton;

// "Send the password unencrypted?": a mail server off this machine offers no encryption
// (no STLS or STARTTLS, or someone on the way removed it). Asked once per account's server;
// the answer is kept with the account.
class frmClearTextQuestion : public QDialog
{
    Q_OBJECT

public:
    frmClearTextQuestion(const QString &account, const QString &server, QWidget *parent = nullptr);

    // Shows the question application-modal and suspends (on the clock, no event loop of its
    // own) until it is answered: true for Yes, false for No, nothing when it was closed.
    static QCoro::Task<std::optional<bool>> ask(
        AppContext &context, QString account, QString server);

    QLabel *Label1 = nullptr;
    QPushButton *cmdYes = nullptr;
    QPushButton *cmdNo = nullptr;
};
