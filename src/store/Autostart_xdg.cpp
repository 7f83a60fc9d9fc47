#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "store/AutostartXdg.h"
#include "store/FileIO.h"

namespace {

std::string ConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;  // relative values are invalid and ignored
    const char* home = std::getenv("HOME");
    return (home && *home) ? std::string(home) + "/.config" : std::string();
}

bool MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

}  // namespace

XdgAutostart::XdgAutostart(std::string programPath, std::string settingsFolder)
    : programPath_(std::move(programPath)), settingsFolder_(std::move(settingsFolder)) {}

std::string XdgAutostart::EntryPath() {
    const std::string config = ConfigHome();
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
