#pragma once

#include <QString>

// The values the dialler, the line watch and the tray monitor share about the line.
struct ConnectionState {
    // The connection entry being dialled or watched.
    QString EntryName;
    // 1 from the start of a dial until the next hang-up.
    int DialFlag = 0;
    // The line watch: 0 watching, 1 drop detected, 2 redial due.
    int LineState = 0;
    // Busy redials left; 16 bits, as the count has always been kept.
    qint16 BusyRetriesLeft = 0;
    // Tick count at which the connected-time clock started.
    qint64 ConnectStartTick = 0;
    // How many times start-up found a line that was already up.
    int ExistingConnectionCount = 0;
};
