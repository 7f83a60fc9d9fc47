#pragma once

#include <string>
#include <vector>

// What starting the program needs of the platform; each front end implements it. The decisions are
// RunProgram's.
class Platform {
public:
    virtual ~Platform() = default;
    virtual bool ChangeFolder(const std::string& folder) = 0;
    virtual std::string CurrentFolder() const = 0;
    // The settings file's full path in a folder.
    virtual std::string SettingsPathIn(const std::string& folder) const = 0;
    // Takes the one-copy-per-settings-file lock; false when another copy holds it.
    virtual bool LockSettings(const std::string& settingsPath) = 0;
    // Asks the copy that holds the lock to show its manager in front; false when it cannot be reached.
    virtual bool BringRunningCopyForward(const std::string& settingsPath) = 0;
    virtual void ShowError(const std::string& text) = 0;
    // Builds the front end on the settings, starts it and runs the event loop until the program ends.
    virtual int Run(const std::string& folder, const std::string& settingsPath) = 0;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitAlreadyRunning = 1;
inline constexpr int kExitBadArguments = 2;

// Options, folder, settings file, one copy per file, then the front end. A second start on the same
// file shows the running copy's manager and leaves the file alone.
int RunProgram(const std::vector<std::string>& args, Platform& platform);

// A name for what belongs to one settings file (its lock, the channel to its running copy): the same
// for the same path, another for another path.
std::string InstanceName(const std::string& settingsPath);
