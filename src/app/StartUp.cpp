#include "app/StartUp.h"

#include <cstdint>
#include <cstdio>

#include "app/CommandLine.h"
#include "frontend/FrontEnd.h"
#include "store/ShortHash.h"

namespace {

// The folder to work in, "" to stay in the current one.
std::string NotesFolder(const Options& options, const Platform& platform) {
    if (options.settingsDir) return *options.settingsDir;
    const std::string current = platform.CurrentFolder();
    if (platform.FileExists(platform.SettingsPathIn(current)) || platform.RunsFromBuildFolder()) return {};
    return platform.PerUserFolder();
}

}  // namespace

int RunProgram(const Options& options, Platform& platform) {
    if (!options.error.empty()) return kExitBadArguments;  // told by AnswerCommandLine
    const std::string notesFolder = NotesFolder(options, platform);
    if (!notesFolder.empty()) {
        // The user's own folder is made on first use; a folder given must exist.
        const bool exists = options.settingsDir || platform.MakeFolder(notesFolder);
        if (!exists || !platform.ChangeFolder(notesFolder)) {
            platform.ShowError(text::kCannotOpenFolder, notesFolder);
            return kExitBadArguments;
        }
    }
    const std::string folder = platform.CurrentFolder();
    const std::string settingsPath = platform.SettingsPathIn(folder);
    if (!platform.LockSettings(settingsPath)) {
        if (platform.BringRunningCopyForward(settingsPath)) return kExitOk;
        platform.ShowError(text::kAlreadyRunning, {});
        return kExitAlreadyRunning;
    }
    return platform.Run(folder, settingsPath);
}

std::string InstanceName(const std::string& settingsPath) {
    char name[32];
    std::snprintf(name, sizeof name, "skyslate2-%016llx", static_cast<unsigned long long>(LongHash(settingsPath)));
    return name;
}
