#pragma once

#include <optional>
#include <string>
#include <vector>

// The program's options: "--settings-dir DIR" (or "--settings-dir=DIR") makes it work in DIR.
struct Options {
    std::optional<std::string> settingsDir;
    std::string error;  // what was wrong with the arguments, empty when nothing
};

Options ParseOptions(const std::vector<std::string>& args);  // args without the program name
