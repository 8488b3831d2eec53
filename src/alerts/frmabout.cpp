#include "alerts/frmabout.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent)
    , cmdOK(new QPushButton(tr("&OK"), this))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About Brisvane"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    auto *title = new QLabel(
        tr("<b>Brisvane</b> %1").arg(QCoreApplication::applicationVersion().toHtmlEscaped()), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    auto *text = new QLabel(
        tr("Dials your connection, keeps it up, starts your programs when it comes "
           "up or goes down, and checks your POP3 and IMAP mail, from the system tray."),
        this);
    text->setObjectName(QStringLiteral("lblDescription"));
    text->setWordWrap(true);
    text->setMinimumWidth(320);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

frmAbout *frmAbout::open(QWidget *parent)
{
    auto *about = new frmAbout(parent);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->show();
    return about;
}
