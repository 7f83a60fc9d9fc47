#include "winui/Platform_win32.h"

#include <commctrl.h>
#include <gdiplus.h>
#include <shlobj.h>

#include "winui/Services_win32.h"
#include "winui/SettingsWatch_win32.h"
#include "winui/Tray_win32.h"
#include "winui/ManagerDialog_win32.h"
#include "winui/LyricsWindow_win32.h"
#include "winui/TempSetingDlg_win32.h"
#include "resource.h"
#include "store/AutostartRunKey.h"
#include "store/Settings.h"
#include "store/Wide_win32.h"
#include "winui/Texts_win32.h"

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

constexpr UINT_PTR kSettleTimer = Win32Wakeup::kTimerId;  // a change seen, or a later look asked for

// Messages, and the settings folder's changes: a burst of them is told once, by a timer on the dialog.
int RunMessageLoop(HWND dialog, SettingsWatch& watch) {
    for (;;) {
        HANDLE handle = watch.Handle();
        const DWORD handles = handle == INVALID_HANDLE_VALUE ? 0 : 1;
        const DWORD woke = MsgWaitForMultipleObjectsEx(handles, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (handles == 1 && woke == WAIT_OBJECT_0) {
            watch.Rearm();
            SetTimer(dialog, kSettleTimer, UINT(kFolderChangeBurstMs), nullptr);
            continue;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return int(message.wParam);
            if (IsDialogMessageW(dialog, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// This machine's own files (daily copies of the settings, merged conflict copies): never in a synced folder.
std::string EnvironmentFolder(const wchar_t* variable) {
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(variable, folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : Narrow(folder);
}

std::string UserDataFolder() {
    const std::string local = EnvironmentFolder(L"LOCALAPPDATA");
    return local.empty() ? local : local + "\\Skyslate2";
}

}  // namespace

bool Win32Platform::ChangeFolder(const std::string& folder) { return SetCurrentDirectoryW(Widen(folder).c_str()); }

std::string Win32Platform::CurrentFolder() const {
    std::wstring folder(32768, L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    return Narrow(folder);
}

bool Win32Platform::FileExists(const std::string& path) const {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32Platform::MakeFolder(const std::string& folder) {
    const int made = SHCreateDirectoryExW(nullptr, Widen(folder).c_str(), nullptr);
    return made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS;
}

std::string Win32Platform::PerUserFolder() const {
    const std::string roaming = EnvironmentFolder(L"APPDATA");
    return roaming.empty() ? roaming : roaming + "\\Skyslate2";
}

bool Win32Platform::RunsFromBuildFolder() const {
    const std::wstring program = ProgramPath();
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
    return GetFileAttributesW((folder + L"\\..\\CMakeCache.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Win32Platform::SettingsPathIn(const std::string& folder) const {
    return folder + "\\" + kSettingsFileName;
}

bool Win32Platform::LockSettings(const std::string& settingsPath) {
    channel_ = std::make_unique<InstanceChannel>(settingsPath);
    return channel_->Lock();
}

bool Win32Platform::BringRunningCopyForward(const std::string&) { return channel_ && channel_->AskRunningCopy(); }

void Win32Platform::ShowError(const std::string& text, const std::string& detail) {
    MessageBoxW(nullptr, (Ui(text) + Widen(detail)).c_str(), L"Skyslate2", MB_OK | MB_TOPMOST);
}

// The composition root, in the Qt front end's order: the services, then the manager dialog (the notes'
// list view), the notes' owner, its presenter and the quick settings; then what reports to them. Here the
// dialog's window must exist before the notes start, since their list lives in it, and what reports
// through the dialog's messages (the wakeup's timer, the tray) needs that window too.
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
    SystemClock clock;
    Win32Wakeup wakeup;
    RunKeyAutostart autostart(Narrow(ProgramPath()), folder);

    CSkyslate2Dlg dialog;
    NoteManager notes(dialog, {windows, screens, pickers, messages, autostart, app, log, clock, wakeup, settingsPath,
                               UserDataFolder(), UserLanguage(), ComputerName(), SettleTimes{}});
    ManagerPresenter manager(dialog, notes);
    dialog.Attach(manager, notes);
    QuickSettingsDialogs quickSettings(notes, manager);

    windows.onDoubleClick = [&](CLyricsWindow& note) { OpenQuickSettings(note, quickSettings, dialog.hwnd()); };
    windows.onUserPlaced = [&](NoteWindow& note, const WindowRect& place) { notes.OnUserPlaced(note, place); };
    dialog.onSessionEnd = [&] { notes.EndSession(); };
    if (!dialog.CreateModeless(IDD_MANAGER, nullptr)) return 1;
    wakeup.window = dialog.hwnd();
    channel_->Listen([&] { manager.ShowManager(); });

    manager.Start();
    if (notes.Ended()) return kExitOk;  // the session ended during start-up
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    Tray tray(dialog.hwnd(),
              {LoadIconW(instance, MAKEINTRESOURCEW(IDI_SKYSLATE2)), LoadIconW(instance, MAKEINTRESOURCEW(IDI_LOCKED))},
              {manager, notes});
    notes.WatchLocked([&](bool locked) { tray.ShowLocked(locked); });
    SettingsWatch watch(settingsPath);
    if (watch.Handle() == INVALID_HANDLE_VALUE) log.Failure("changes to the settings folder are not seen until a save");
    dialog.otherMessages = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        // A monitor's scale changed: the manager on it hears of it (the notes' own would come mid-drag too).
        if (message == WM_DISPLAYCHANGE || message == WM_DPICHANGED ||
            (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA))
            notes.OnMonitorsChanged();
        if (message == WM_TIMER && wParam == kSettleTimer) {
            KillTimer(dialog.hwnd(), kSettleTimer);
            manager.ReloadNotes();
            return true;
        }
        return tray.HandleMessage(message, wParam, lParam);
    };
    const int code = RunMessageLoop(dialog.hwnd(), watch);
    notes.WatchLocked(nullptr);
    return code;
}
