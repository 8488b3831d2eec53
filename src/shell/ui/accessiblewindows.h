#pragma once

// Screen readers tell a window from a panel by its role. Qt gives a top-level window that is a
// plain QWidget (the Customize dialog, the check windows, the error dialog, the Usage window)
// the role of a client area, which AT-SPI shows as a nameless "filler"; this gives such windows
// the role of a window (a frame on AT-SPI), so a screen reader announces them by their title.
// Call once, after the application object exists and before the first window is built.
void installAccessibleWindows();
