#pragma once

#include "monitor/bandmenu/bandtool.h"

#include <QList>
#include <QString>
#include <QStringList>

// A whole band layout as plain data: what the design builds, what the layout file holds and
// what BandMenu is made from.
struct BandLayout {
    struct BandEntry {
        QString name;
        QString caption;
        QStringList tools;
    };
    QList<BandTool::State> tools;
    QList<BandEntry> bands;

    // Empty when the layout can be shown; otherwise what is wrong with it (a name used twice,
    // a band listing an unknown tool, a tool opening an unknown band, bands opening each
    // other in a circle).
    QString problem() const;
};

// The band tree the program is designed with.
BandLayout designBandLayout();
// A saved layout with the commands the design gained after layout files were first written,
// each at the end of its design band when the layout has that band (a layout file names every
// tool it shows, so a new command would otherwise never reach a user who has one).
BandLayout withNewDesignTools(BandLayout saved);
