#pragma once

#include <string>

#include "manager/NoteManager.h"

// How the program is used, for a newcomer: every gesture, where the tray is and what it offers, and the
// version. In the interface's language.
std::string HelpText(UiLanguage language);
// Shows it in a message box (the tray's 帮助, the manager's).
void ShowHelp(const NoteManager& notes);
