#include <windows.h>

#include <vector>

#include "store/AutostartRunKey.h"
#include "store/Unicode.h"
#include "store/Wide_win32.h"

namespace {

constexpr const wchar_t* kRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring ValueName() { return Widen(kAutostartName); }

// The Run key opened for reading and writing, closed when it goes out of scope.
class RunKey {
public:
    RunKey() {
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RunKey() {
        if (key_) RegCloseKey(key_);
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

RunKeyAutostart::RunKeyAutostart(std::string programPath, std::string settingsFolder)
    : programPath_(std::move(programPath)), settingsFolder_(std::move(settingsFolder)) {}

std::optional<std::string> RunKeyAutostart::ReadRegistration() {
    RunKey key;
    if (!key.get()) return std::nullopt;
    DWORD bytes = 0;
    const std::wstring name = ValueName();
    if (RegGetValueW(key.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(key.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const std::u16string text(reinterpret_cast<const char16_t*>(buffer.data()));
    return Utf16ToUtf8(text);
}

void RunKeyAutostart::WriteRegistration(const std::string& registration) {
    RunKey key;
    if (!key.get()) return;
    const std::wstring data = Widen(registration);
    RegSetValueExW(key.get(), ValueName().c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   DWORD((data.size() + 1) * sizeof(wchar_t)));
}

void RunKeyAutostart::RemoveRegistration() {
    RunKey key;
    if (key.get()) RegDeleteValueW(key.get(), ValueName().c_str());
}

std::string RunKeyAutostart::DesiredRegistration() const { return RunKeyCommand(programPath_, settingsFolder_); }
