#include "app/StartUp.h"

#include <cstdint>
#include <cstdio>

#include "app/CommandLine.h"
#include "manager/ManagerViews.h"

int RunProgram(const std::vector<std::string>& args, Platform& platform) {
    const Options options = ParseOptions(args);
    if (!options.error.empty()) {
        platform.ShowError(options.error);
        return kExitBadArguments;
    }
    if (options.settingsDir && !platform.ChangeFolder(*options.settingsDir)) {
        platform.ShowError("无法打开设置文件夹：" + *options.settingsDir);
        return kExitBadArguments;
    }
    const std::string folder = platform.CurrentFolder();
    const std::string settingsPath = platform.SettingsPathIn(folder);
    if (!platform.LockSettings(settingsPath)) {
        if (platform.BringRunningCopyForward(settingsPath)) return kExitOk;
        platform.ShowError(text::kAlreadyRunning);
        return kExitAlreadyRunning;
    }
    return platform.Run(folder, settingsPath);
}

std::string InstanceName(const std::string& settingsPath) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char byte : settingsPath) hash = (hash ^ byte) * 1099511628211ull;
    char name[32];
    std::snprintf(name, sizeof name, "skyslate2-%016llx", static_cast<unsigned long long>(hash));
    return name;
}
