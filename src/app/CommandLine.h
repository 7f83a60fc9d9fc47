#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/FrontEnd.h"

// The program's options: "--settings-dir DIR" (or "--settings-dir=DIR") makes it work in DIR; "--help"
// and "--version" answer and end.
struct Options {
    std::optional<std::string> settingsDir;
    bool help = false;
    bool version = false;
    std::string error;  // what was wrong with the arguments, empty when nothing
};

Options ParseOptions(const std::vector<std::string>& args);  // args without the program name

std::string UsageText();
std::string VersionText();

// Answers --help, --version and wrong arguments without touching any file; the exit code when the
// program ends here, nothing when it goes on to start.
std::optional<int> AnswerCommandLine(const Options& options, Console& console);
