#include "trayctl/trayservice.h"

QByteArray NotifyRecord::shellTip(const QString &tip)
{
    return tip.left(kTipLength).toLatin1().leftJustified(kTipLength, ' ');
}

QString NotifyRecord::tipText() const
{
    qsizetype end = tip.size();
    while (end > 0 && tip.at(end - 1) == ' ')
        --end;
    return QString::fromLatin1(tip.left(end));
}

TrayService::~TrayService() = default;

bool TrayService::setIconMenu(quintptr, int, QMenu *)
{
    return false;
}
