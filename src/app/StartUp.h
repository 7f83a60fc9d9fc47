#pragma once

#include <string>

#include "app/CommandLine.h"

// What starting the program needs of the platform; each front end implements it. The decisions are
// RunProgram's.
class Platform {
public:
    virtual ~Platform() = default;
    virtual bool ChangeFolder(const std::string& folder) = 0;
    virtual std::string CurrentFolder() const = 0;
    virtual bool FileExists(const std::string& path) const = 0;
    // Makes the folder and any missing parents; true when it exists afterwards.
    virtual bool MakeFolder(const std::string& folder) = 0;
    // The user's own folder for the notes of an installed program; "" when there is none.
    virtual std::string PerUserFolder() const = 0;
    // The program runs from the folder it was built in (a developer's copy), not from an installation.
    virtual bool RunsFromBuildFolder() const = 0;
    // The settings file's full path in a folder.
    virtual std::string SettingsPathIn(const std::string& folder) const = 0;
    // Takes the one-copy-per-settings-file lock; false when another copy holds it.
    virtual bool LockSettings(const std::string& settingsPath) = 0;
    // Asks the copy that holds the lock to show its manager in front; false when it cannot be reached.
    virtual bool BringRunningCopyForward(const std::string& settingsPath) = 0;
    // A message the user can act on; detail (a path) is shown after the text as it is.
    virtual void ShowError(const std::string& text, const std::string& detail) = 0;
    // Builds the front end on the settings, starts it and runs the event loop until the program ends.
    virtual int Run(const std::string& folder, const std::string& settingsPath) = 0;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitAlreadyRunning = 1;
inline constexpr int kExitBadArguments = 2;

// Folder, settings file, one copy per file, then the front end. A second start on the same file shows the
// running copy's manager and leaves the file alone. The folder: the one given; else the current one when it
// holds a settings file or the program runs from its build folder; else the user's own.
int RunProgram(const Options& options, Platform& platform);

// A name for what belongs to one settings file (its lock, the channel to its running copy): the same
// for the same path, another for another path.
std::string InstanceName(const std::string& settingsPath);
