#pragma once

class QCoreApplication;

class QString;

// Loads the program's catalogue `catalogue` (built into it under :/i18n) for the user's
// language (the locale's languages in order, as LANGUAGE, LC_ALL, LC_MESSAGES and LANG give
// them) and Qt's own, which translates the standard buttons and the file dialogs. English, the
// language of the source, needs none. Call once the application object exists and before the
// first window is built.
void installTranslations(QCoreApplication &app, const QString &catalogue);
