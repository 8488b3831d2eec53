#pragma once

#include <QString>

// Whether the program starts when the user logs in: an entry in the desktop's autostart
// folder, behind a seam so that forms never touch the file.
class Autostart
{
public:
    virtual ~Autostart() = default;
    // True while the entry exists.
    virtual bool isEnabled() const = 0;
    // Writes (on) or removes (off) the entry at once. On failure returns false, leaves things
    // as they were and puts the reason, fit for a message box, in error.
    virtual bool setEnabled(bool on, QString &error) = 0;
};
