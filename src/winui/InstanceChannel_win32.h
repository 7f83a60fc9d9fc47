#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "winui/Window_win32.h"

// One copy of the program per settings file, and the way a second start reaches it: a named mutex, and
// a message-only window whose class is named after the settings file.
class InstanceChannel : private WindowBase {
public:
    explicit InstanceChannel(const std::string& settingsPath);
    ~InstanceChannel() override;
    // Takes the mutex; false when a running copy holds it.
    bool Lock();
    // In the running copy: calls onShow whenever a second start asks for the manager.
    void Listen(std::function<void()> onShow);
    // In a second copy: asks the running copy for its manager, letting it come to the front; false when it
    // does not answer.
    bool AskRunningCopy();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring name_;
    HANDLE mutex_ = nullptr;
    UINT showMessage_;
    std::function<void()> onShow_;
};
