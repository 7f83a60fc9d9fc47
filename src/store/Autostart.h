#pragma once

#include <optional>
#include <string>

// Where the user's start-at-login registration lives: the Run key on Windows, an XDG autostart entry
// elsewhere. Each operation may fail silently; a failed write is tried again on the next start.
class AutostartStore {
public:
    virtual ~AutostartStore() = default;
    // The stored registration, or nothing when it is absent or unreadable.
    virtual std::optional<std::string> ReadRegistration() = 0;
    virtual void WriteRegistration(const std::string& registration) = 0;
    virtual void RemoveRegistration() = 0;
    // The registration that starts this program on the settings folder.
    virtual std::string DesiredRegistration() const = 0;
};

// What a change of the registration did.
enum class AutostartChange { Unchanged, Written, Removed, TookOver, LeftAlone };

// Makes the store follow the flag: writes only when the stored registration differs (letter case
// counts), removes it when disabled.
AutostartChange SetAutostart(AutostartStore& store, bool enable);

// Whether a stored registration starts the program on the same settings folder as the desired one. One
// that names no folder comes from before folders were named: it counts as this folder's.
bool IsOwnRegistration(const std::string& stored, const std::string& desired);
// At start-up: the registration follows the file's flag only where it is this folder's own or absent;
// another folder's login start stays.
AutostartChange FollowFlagAtStart(AutostartStore& store, bool enable);
// The user's choice: ticking takes over another folder's registration (the caller says so), unticking
// leaves another folder's alone.
AutostartChange ApplyUserChoice(AutostartStore& store, bool enable);

// The Run value: the program quoted, then the settings folder, so that a login start finds the notes
// whatever the working directory is.
std::string RunKeyCommand(const std::string& programPath, const std::string& settingsFolder);

// The XDG autostart entry that runs the program on the settings folder.
std::string DesktopEntry(const std::string& programPath, const std::string& settingsFolder);

inline constexpr const char* kAutostartName = "vezuDeve_v2";
