#pragma once

#include "pinlib6_export.h"

#include <QObject>

// The tray icon control.
class PINLIB6_EXPORT Lumenpin : public QObject
{
    Q_OBJECT

public:
    explicit Lumenpin(QObject *parent = nullptr);
    ~Lumenpin() override;
};
