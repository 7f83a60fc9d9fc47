#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/FrontEnd.h"

// The program's options: "--settings-dir DIR" (or "--settings-dir=DIR") makes it work in DIR; "--help"
// and "--version" answer and end. Where the front end can show notes on more than one window system,
// "--notes-on x11|wayland" picks one.
enum class NotesOn { Any, X11, Wayland };

struct Options {
    std::optional<std::string> settingsDir;
    bool offersNotesOn = false;  // the front end takes --notes-on
    NotesOn notesOn = NotesOn::Any;
    bool help = false;
    bool version = false;
    std::string error;  // what was wrong with the arguments, empty when nothing
};

// args without the program name
Options ParseOptions(const std::vector<std::string>& args, bool offersNotesOn = false);

std::string UsageText(bool offersNotesOn = false);
std::string VersionText();

// Answers --help, --version and wrong arguments without touching any file; the exit code when the
// program ends here, nothing when it goes on to start.
std::optional<int> AnswerCommandLine(const Options& options, Console& console);
