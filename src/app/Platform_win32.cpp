#include "app/Platform_win32.h"

#include <commctrl.h>
#include <gdiplus.h>

#include "app/Services_win32.h"
#include "app/Tray_win32.h"
#include "manager/ManagerDialog_win32.h"
#include "notewindow/LyricsWindow_win32.h"
#include "quicksettings/TempSetingDlg_win32.h"
#include "resource.h"
#include "store/AutostartRunKey.h"
#include "store/Settings.h"
#include "store/Wide_win32.h"

namespace {

std::wstring ProgramPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return path;
}

// GDI+ runs while the front end lives; every drawing object is gone before it stops.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR token_ = 0;
};

int RunMessageLoop(HWND dialog) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

}  // namespace

bool Win32Platform::ChangeFolder(const std::string& folder) { return SetCurrentDirectoryW(Widen(folder).c_str()); }

std::string Win32Platform::CurrentFolder() const {
    std::wstring folder(32768, L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    return Narrow(folder);
}

std::string Win32Platform::SettingsPathIn(const std::string& folder) const {
    return folder + "\\" + kSettingsFileName;
}

bool Win32Platform::LockSettings(const std::string& settingsPath) {
    channel_ = std::make_unique<InstanceChannel>(settingsPath);
    return channel_->Lock();
}

bool Win32Platform::BringRunningCopyForward(const std::string&) { return channel_ && channel_->AskRunningCopy(); }

void Win32Platform::ShowError(const std::string& text) {
    MessageBoxW(nullptr, Widen(text).c_str(), L"Skyslate2", MB_OK);
}

int Win32Platform::Run(const std::string& folder, const std::string& settingsPath) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    GdiplusSession gdiplus;

    LyricsWindowFactory windows;
    Win32Screens screens;
    Win32Pickers pickers;
    Win32Messages messages;
    Win32App app;
    FileLog log(Widen(folder) + L"\\Skyslate2.log");
    RunKeyAutostart autostart(Narrow(ProgramPath()), folder);
    CSkyslate2Dlg dialog({windows, screens, pickers, messages, autostart, app, log, settingsPath});
    NoteManager& notes = dialog.Notes();
    ManagerPresenter& manager = dialog.Presenter();
    QuickSettingsDialogs quickSettings(notes, manager);
    windows.onDoubleClick = [&](CLyricsWindow& note) { OpenQuickSettings(note, quickSettings, dialog.hwnd()); };
    if (!dialog.CreateModeless(IDD_MANAGER, nullptr)) return 1;
    channel_->Listen([&] { manager.ShowManager(); });

    manager.Start();
    if (notes.Ended()) return kExitOk;  // the session ended during start-up
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SKYSLATE2));
    Tray tray(dialog.hwnd(), icon, {manager, notes});
    dialog.otherMessages = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DISPLAYCHANGE || (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA))
            notes.OnMonitorsChanged();
        return tray.HandleMessage(message, wParam, lParam);
    };
    return RunMessageLoop(dialog.hwnd());
}
