#pragma once

#include <QObject>

// What lives as long as a clock (its children: a mail quit still under way, say) goes first
// in the clock's destructor, while the clock can still take its timers' last words; as
// QObject children they would go only after the clock's own parts are gone. A destructor may
// take siblings with it, so each round asks for the first child left.
inline void deleteOwnedObjects(QObject &clock)
{
    while (!clock.children().isEmpty())
        delete clock.children().constFirst();
}
