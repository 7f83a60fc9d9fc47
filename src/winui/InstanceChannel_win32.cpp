#include "winui/InstanceChannel_win32.h"

#include <cwctype>

#include "app/StartUp.h"
#include "store/Wide_win32.h"

namespace {

constexpr UINT kAnswerMilliseconds = 3000;

// Paths on Windows ignore letter case and may use either slash.
std::string SamePathKey(const std::string& path) {
    std::wstring key = Widen(path);
    for (wchar_t& c : key) c = c == L'\\' ? L'/' : wchar_t(std::towlower(c));
    return Narrow(key);
}

}  // namespace

InstanceChannel::InstanceChannel(const std::string& settingsPath)
    : name_(Widen(InstanceName(SamePathKey(settingsPath)))),
      showMessage_(RegisterWindowMessageW(L"Skyslate2.ShowManager")) {}

InstanceChannel::~InstanceChannel() {
    if (mutex_) CloseHandle(mutex_);
}

bool InstanceChannel::Lock() {
    mutex_ = CreateMutexW(nullptr, FALSE, (L"Local\\" + name_).c_str());
    return mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

void InstanceChannel::Listen(std::function<void()> onShow) {
    onShow_ = std::move(onShow);
    RegisterWindowClass(name_.c_str(), 0, nullptr, nullptr);
    CreateEx(0, name_.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE);
}

bool InstanceChannel::AskRunningCopy() {
    HWND running = FindWindowExW(HWND_MESSAGE, nullptr, name_.c_str(), nullptr);
    if (!running) return false;
    AllowSetForegroundWindow(ASFW_ANY);  // the manager may come to the front: the user asked for it
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(running, showMessage_, 0, 0, SMTO_ABORTIFHUNG, kAnswerMilliseconds, &answer) &&
           answer == TRUE;
}

LRESULT InstanceChannel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != showMessage_) return WindowBase::HandleMessage(message, wParam, lParam);
    if (onShow_) onShow_();
    return TRUE;
}
