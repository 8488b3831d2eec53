#pragma once

#include <QString>

// Whether the desktop session Qt's platform plugin is about to look for can be opened. Qt ends
// a program whose platform plugin fails with an abort and the advice to reinstall it; the
// program asks first and tells the real cause. Empty when a display answers (or the platform
// chosen in QT_QPA_PLATFORM needs none), else one line saying what is missing.
QString desktopSessionProblem();
