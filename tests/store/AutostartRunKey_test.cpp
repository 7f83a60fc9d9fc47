#include <windows.h>

#include <gtest/gtest.h>

#include "store/AutostartRunKey.h"

namespace {

constexpr const wchar_t* kRun = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Reads the raw value with its type, straight from the registry.
bool ReadRaw(DWORD& type, std::wstring& data) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRun, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    wchar_t buffer[1024] = {};
    DWORD bytes = sizeof buffer;
    const LSTATUS status = RegQueryValueExW(key, L"vezuDeve_v2", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    RegCloseKey(key);
    data = buffer;
    return status == ERROR_SUCCESS;
}

void WriteRaw(DWORD type, const void* data, DWORD bytes) {
    HKEY key;
    RegCreateKeyExW(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, L"vezuDeve_v2", 0, type, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
}

}  // namespace

TEST(RunKeyAutostart, RegistersAsQuotedCommandAndRemoves) {
    RunKeyAutostart autostart("C:\\Program Files\\Skyslate2\\Skyslate2.exe", "C:\\Users\\u\\Notes");
    SetAutostart(autostart, false);
    DWORD type = 0;
    std::wstring data;
    EXPECT_FALSE(ReadRaw(type, data));

    SetAutostart(autostart, true);
    ASSERT_TRUE(ReadRaw(type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, L"\"C:\\Program Files\\Skyslate2\\Skyslate2.exe\" --settings-dir \"C:\\Users\\u\\Notes\"");
    EXPECT_EQ(autostart.ReadRegistration(), autostart.DesiredRegistration());

    SetAutostart(autostart, false);
    EXPECT_FALSE(ReadRaw(type, data));
}

TEST(RunKeyAutostart, ValueOfAnotherTypeIsReplacedByAString) {
    const DWORD number = 7;
    WriteRaw(REG_DWORD, &number, sizeof number);
    RunKeyAutostart autostart("C:\\S.exe", "C:\\N");
    EXPECT_FALSE(autostart.ReadRegistration());
    SetAutostart(autostart, true);
    DWORD type = 0;
    std::wstring data;
    ASSERT_TRUE(ReadRaw(type, data));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(data, L"\"C:\\S.exe\" --settings-dir \"C:\\N\"");
    SetAutostart(autostart, false);
}
