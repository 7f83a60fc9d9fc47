#pragma once

#include <windows.h>

#include <string>

#include "manager/Note.h"
#include "text/Catalogue.h"

// The interface's texts in the user's language: Chinese where Windows speaks Chinese, else English from
// the catalogue. The dialog templates hold the Chinese texts.

UiLanguage UserLanguage();
std::wstring Ui(const std::string& chinese);
// Every control's caption and the dialog's title, in the user's language.
void TranslateDialogTexts(HWND dialog);
// What an edit shows of a note: the text, or its beginning and the notice that it is too long to edit.
std::string EditContent(const EditableText& text);
