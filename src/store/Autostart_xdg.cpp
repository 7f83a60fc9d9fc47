#include <unistd.h>

#include "store/AutostartXdg.h"
#include "store/FileIO.h"
#include "store/XdgFolders.h"

XdgAutostart::XdgAutostart(std::string programPath, std::string settingsFolder)
    : programPath_(std::move(programPath)), settingsFolder_(std::move(settingsFolder)) {}

std::string XdgAutostart::EntryPath() {
    const std::string config = XdgFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? std::string() : config + "/autostart/" + kAutostartName + ".desktop";
}

std::optional<std::string> XdgAutostart::ReadRegistration() {
    const std::string path = EntryPath();
    return path.empty() ? std::nullopt : ReadWholeFile(path);
}

void XdgAutostart::WriteRegistration(const std::string& registration) {
    const std::string path = EntryPath();
    if (path.empty() || !MakeFolders(FolderOf(path))) return;
    WriteFileAtomically(path, registration);
}

void XdgAutostart::RemoveRegistration() {
    const std::string path = EntryPath();
    if (!path.empty()) unlink(path.c_str());
}

std::string XdgAutostart::DesiredRegistration() const { return DesktopEntry(programPath_, settingsFolder_); }
