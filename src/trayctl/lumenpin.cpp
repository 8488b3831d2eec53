#include "trayctl/lumenpin.h"

Lumenpin::Lumenpin(QObject *parent)
    : QObject(parent)
{
}

Lumenpin::~Lumenpin() = default;
