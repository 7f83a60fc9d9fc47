#include "store/Autostart.h"

#include <string_view>

AutostartChange SetAutostart(AutostartStore& store, bool enable) {
    const std::optional<std::string> stored = store.ReadRegistration();
    if (!enable) {
        store.RemoveRegistration();  // also one that could not be read
        return stored ? AutostartChange::Removed : AutostartChange::Unchanged;
    }
    const std::string desired = store.DesiredRegistration();
    if (stored && *stored == desired) return AutostartChange::Unchanged;
    store.WriteRegistration(desired);
    return AutostartChange::Written;
}

namespace {

// The part of a registration that names the folder: from the option to the end of its line.
std::string_view FolderPart(std::string_view registration) {
    const size_t start = registration.find("--settings-dir ");
    if (start == std::string_view::npos) return {};
    const size_t end = registration.find('\n', start);
    return registration.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

bool HoldsAnotherFolders(AutostartStore& store) {
    const std::optional<std::string> stored = store.ReadRegistration();
    return stored && !IsOwnRegistration(*stored, store.DesiredRegistration());
}

}  // namespace

bool IsOwnRegistration(const std::string& stored, const std::string& desired) {
    const std::string_view folder = FolderPart(stored);
    return folder.empty() || folder == FolderPart(desired);
}

AutostartChange FollowFlagAtStart(AutostartStore& store, bool enable) {
    return HoldsAnotherFolders(store) ? AutostartChange::LeftAlone : SetAutostart(store, enable);
}

AutostartChange ApplyUserChoice(AutostartStore& store, bool enable) {
    if (!HoldsAnotherFolders(store)) return SetAutostart(store, enable);
    if (!enable) return AutostartChange::LeftAlone;
    store.WriteRegistration(store.DesiredRegistration());
    return AutostartChange::TookOver;
}

namespace {

// A Windows command-line argument in quotes: backslashes before a quote, or before the closing quote,
// are doubled so that they stay backslashes.
std::string QuoteWindowsArgument(const std::string& argument) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

// An Exec argument in quotes: ", `, $ and \ are escaped inside quotes, and % is doubled for field codes.
std::string QuoteExecArgument(const std::string& argument) {
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    return out + "\"";
}

// A desktop-entry string value: backslash, and the control characters that would end the line.
std::string EscapeEntryValue(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out;
}

}  // namespace

std::string RunKeyCommand(const std::string& programPath, const std::string& settingsFolder) {
    return QuoteWindowsArgument(programPath) + " --settings-dir " + QuoteWindowsArgument(settingsFolder);
}

std::string DesktopEntry(const std::string& programPath, const std::string& settingsFolder) {
    const std::string exec = QuoteExecArgument(programPath) + " --settings-dir " + QuoteExecArgument(settingsFolder);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Skyslate2\n"
           "Comment=Text notes on the desktop\n"
           "Exec=" + EscapeEntryValue(exec) + "\n"
           // Once the program is removed, the session skips the entry instead of failing at every login.
           "TryExec=" + EscapeEntryValue(programPath) + "\n"
           "Icon=skyslate2\n"
           "Path=" + EscapeEntryValue(settingsFolder) + "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}
