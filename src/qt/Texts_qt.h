#pragma once

#include <QString>

#include "manager/Note.h"
#include "text/Catalogue.h"

class QCoreApplication;

// The interface's texts in the user's language: the program's texts are written in Chinese and translated
// by Qt from translations/skyslate2_en.ts; Qt's own dialogs speak the user's language from Qt's translations.

// The language of the user's interface, from the locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
UiLanguage UserLanguage();
// Installs the translations for the language; call once, before any window is made.
void LoadTranslations(QCoreApplication& application, UiLanguage language);

// A text of the program, in the language loaded.
QString Ui(const char* chinese);
inline QString Ui(const std::string& chinese) { return Ui(chinese.c_str()); }
// What an edit shows of a note: the text, or its beginning and the notice that it is too long to edit.
QString EditContent(const EditableText& text);
