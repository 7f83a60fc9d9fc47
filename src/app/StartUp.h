#pragma once

#include <string>

#include "app/CommandLine.h"

inline constexpr int kExitOk = 0;
inline constexpr int kExitAlreadyRunning = 1;
inline constexpr int kExitBadArguments = 2;
inline constexpr int kExitNoDesktop = 3;  // no window system the notes can show on

// Folder, settings file, one copy per file, then the front end. A second start on the same file shows the
// running copy's manager and leaves the file alone. The folder: the one given; else the current one when it
// holds a settings file or the program runs from its build folder; else the user's own.
int RunProgram(const Options& options, Platform& platform);

// A name for what belongs to one settings file (its lock, the channel to its running copy): the same
// for the same path, another for another path.
std::string InstanceName(const std::string& settingsPath);
