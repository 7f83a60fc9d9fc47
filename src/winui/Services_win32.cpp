#include "winui/Services_win32.h"

#include <commdlg.h>
#include <shellscalingapi.h>

#include <cstdio>
#include <string>

#include "winui/NoteRenderer_win32.h"
#include "notewindow/FaceFallback.h"
#include "notewindow/NoteStyle.h"
#include "store/IniValues.h"
#include "store/NoteText.h"
#include "store/Wide_win32.h"
#include "winui/Texts_win32.h"

namespace {

COLORREF ToColorRef(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

uint32_t FromColorRef(COLORREF color) { return OpaqueColor(GetRValue(color), GetGValue(color), GetBValue(color)); }

}  // namespace

std::optional<uint32_t> Win32Pickers::PickColor(uint32_t initial) {
    CHOOSECOLORW choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = GetActiveWindow();
    choose.rgbResult = ToColorRef(initial);
    choose.lpCustColors = customColors_;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!ChooseColorW(&choose)) return std::nullopt;
    return FromColorRef(choose.rgbResult);
}

// Opens on the face that draws the note (a missing face would leave the dialog on whatever face comes
// first, often a vertical "@" one) at the note's size. OK without a change keeps the note's own face name.
std::optional<FontChoice> Win32Pickers::PickFont(const FontChoice& initial) {
    LOGFONTW font = {};
    const std::string noteFace = initial.face.empty() ? style::kDefaultFace : initial.face;
    std::wstring face = DrawnFaceName(noteFace);
    if (!face.empty() && face[0] == L'@') face.erase(0, 1);
    lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(initial.pointSizeTenths, GetDeviceCaps(screen, LOGPIXELSY), 720);
    ReleaseDC(nullptr, screen);
    font.lfCharSet = DEFAULT_CHARSET;

    CHOOSEFONTW choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = GetActiveWindow();
    choose.lpLogFont = &font;
    choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    choose.rgbColors = ToColorRef(initial.color);
    if (!ChooseFontW(&choose)) return std::nullopt;
    const std::string chosen = Narrow(font.lfFaceName);
    return FontChoice{FaceAfterPicker(chosen, Narrow(face), noteFace), int32_t(choose.iPointSize),
                      FromColorRef(choose.rgbColors)};
}

void Win32Messages::ShowMessage(const std::string& text) {
    MessageBoxW(GetActiveWindow(), Ui(text).c_str(), L"Skyslate2", MB_OK | MB_TOPMOST);
}

void Win32Messages::ShowHelp(const std::string& text) {
    MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Ui(text::kHelpTitle).c_str(),
                MB_OK | MB_TOPMOST | MB_ICONINFORMATION);
}

namespace {

WindowRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    UINT dpiX = 96, dpiY = 96;
    if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY))) dpiX = 96;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<Monitor>*>(data)->push_back(
            {FromRect(info.rcMonitor), FromRect(info.rcWork), double(dpiX) / 96.0});
    return TRUE;
}

}  // namespace

std::vector<Monitor> Win32Screens::Monitors() const {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

void FileLog::Failure(const std::string& line) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    const std::wstring text = stamp + Widen(line) + L"\r\n";
    OutputDebugStringW((L"Skyslate2: " + text).c_str());
    HANDLE file = CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string bytes = Narrow(text);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? Narrow(name) : std::string();
}
