#pragma once

#include <windows.h>

#include <string>

// A change notification on the settings file's folder: signalled when a file there is created, renamed,
// removed or written (a sync tool replaces the file, conflict copies appear). The message loop waits on it
// beside the messages, so nothing runs while nothing changes.
class SettingsWatch {
public:
    explicit SettingsWatch(const std::string& settingsPath);
    ~SettingsWatch();
    SettingsWatch(const SettingsWatch&) = delete;
    SettingsWatch& operator=(const SettingsWatch&) = delete;

    // INVALID_HANDLE_VALUE when the folder cannot be watched.
    HANDLE Handle() const { return handle_; }
    // After a signal: watch for the next change.
    void Rearm();

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};
