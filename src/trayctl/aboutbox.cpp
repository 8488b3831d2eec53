#include "trayctl/aboutbox.h"

#include "trayctl/pinlib6_version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pinlib6 {

frmLumenpinAbout::frmLumenpinAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmLumenpinAbout"));
    setWindowTitle(QStringLiteral("About %1").arg(productName()));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *lblProduct = new QLabel(productName(), this);
    lblProduct->setObjectName(QStringLiteral("lblProduct"));
    auto *lblVersion = new QLabel(QStringLiteral("Version %1").arg(version()), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(lblProduct);
    layout->addWidget(lblVersion);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
}

QString frmLumenpinAbout::productName()
{
    return QStringLiteral("pinlib6");
}

QString frmLumenpinAbout::version()
{
    return QStringLiteral("%1.%2 (Build %3)")
        .arg(PINLIB6_VERSION_MAJOR)
        .arg(PINLIB6_VERSION_MINOR)
        .arg(PINLIB6_VERSION_PATCH);
}

} // namespace pinlib6
