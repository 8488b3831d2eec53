#pragma once

#include <QString>

// Files the program keeps for the user (settings, the usage record, the menu layout, the
// announced mail) say what the user did and when: they are for the user alone, 0600 in a
// folder of 0700, also when an older version or a hand-made copy left them open to others.
namespace PrivateFiles {

// Makes the folder (and its parents) where missing and closes it to others; false when it
// cannot be made.
bool makeFolder(const QString &folder);
// Closes an existing file to others; a missing file is left missing.
void tighten(const QString &file);
// Makes `file`'s folder private, and the file itself: an empty file of 0600 where there is
// none, so that whatever fills it (SQLite, which gives its journal the file's mode) starts from
// a private one. False when neither could be made.
bool prepare(const QString &file);

} // namespace PrivateFiles
