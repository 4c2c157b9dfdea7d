#pragma once

#include <QString>

class QCoreApplication;

// Qt's own texts (the file dialogs' buttons, the message boxes' OK, the line edits' context menus)
// in Japanese, whatever the locale: the program's interface is Japanese. The translation is read
// from `folder` (by default the Qt installation's translations folder) and, where that has none,
// from the copy built into the program, so a portable copy reads Japanese too. Returns false only
// when neither could be loaded.
bool installTranslations(QCoreApplication &app, const QString &folder = QString());

// Where the copy built into the program lies.
QString builtInTranslationsFolder();
