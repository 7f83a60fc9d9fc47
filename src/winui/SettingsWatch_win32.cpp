#include "winui/SettingsWatch_win32.h"

#include "store/FileIO.h"
#include "store/Wide_win32.h"

SettingsWatch::SettingsWatch(const std::string& settingsPath) {
    const std::string folder = FolderOf(settingsPath);
    handle_ = FindFirstChangeNotificationW(Widen(folder.empty() ? "." : folder).c_str(), FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE |
                                               FILE_NOTIFY_CHANGE_SIZE);
}

SettingsWatch::~SettingsWatch() {
    if (handle_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(handle_);
}

void SettingsWatch::Rearm() {
    if (handle_ != INVALID_HANDLE_VALUE && !FindNextChangeNotification(handle_)) {
        FindCloseChangeNotification(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}
