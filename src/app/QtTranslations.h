#pragma once

#include <QLocale>

class QTranslator;

// Loads Qt's own translation for the locale's language (qtbase_<lang> from Qt's translations
// folder) into the application, so the toolkit's dialogs, the file dialog above all, speak the
// user's language as the desktop's own dialogs do; the program's own texts stay as they are.
// Returns the installed translator, owned by the application, or null when Qt has no translation
// for the language and keeps its English.
QTranslator* InstallQtTranslations(const QLocale& locale = QLocale());
