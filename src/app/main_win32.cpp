// The Windows program: start-up, the one event loop, and shutdown in order.
#include <windows.h>

#include <commctrl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "store/AutostartRunKey.h"
#include "app/CommandLine.h"
#include "notewindow/LyricsWindow_win32.h"
#include "manager/ManagerDialog_win32.h"
#include "app/Services_win32.h"
#include "store/Settings.h"
#include "quicksettings/TempSetingDlg_win32.h"
#include "winui/Wide_win32.h"
#include "resource.h"

namespace {

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(Narrow(argv[i]));
    LocalFree(argv);
    return args;
}

std::wstring CurrentFolder() {
    std::wstring folder(32768, L'\0');
    folder.resize(GetCurrentDirectoryW(DWORD(folder.size()), folder.data()));
    return folder;
}

std::wstring ProgramPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return path;
}

void ShowError(const std::string& text) { MessageBoxW(nullptr, Widen(text).c_str(), L"Skyslate2", MB_OK); }

// Runs the manager until the quit message; every note window and drawing object is gone on return.
void RunManager(const std::wstring& folder, const std::wstring& settingsPath) {
    LyricsWindowFactory windows;
    Win32Screens screens;
    Win32Pickers pickers;
    Win32Messages messages;
    Win32App app;
    FileLog log(folder + L"\\Skyslate2.log");
    RunKeyAutostart autostart(Narrow(ProgramPath()), Narrow(folder));
    CSkyslate2Dlg dialog({windows, screens, pickers, messages, autostart, app, log, Narrow(settingsPath)});
    windows.onDoubleClick = [&](CLyricsWindow& note) {
        OpenQuickSettings(note, dialog.Manager(), messages, dialog.hwnd());
    };
    if (!dialog.CreateModeless(IDD_MANAGER, nullptr)) return;

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(dialog.hwnd(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    const Options options = ParseOptions(Arguments());
    if (!options.error.empty()) {
        ShowError(options.error);
        return 2;
    }
    if (options.settingsDir && !SetCurrentDirectoryW(Widen(*options.settingsDir).c_str())) {
        ShowError("无法打开设置文件夹：" + *options.settingsDir);
        return 2;
    }
    const std::wstring folder = CurrentFolder();
    const std::wstring settingsPath = folder + L"\\" + Widen(kSettingsFileName);

    SingleInstance instance(settingsPath);
    if (instance.AlreadyRunning()) {
        ShowError(text::kAlreadyRunning);
        return 1;
    }

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    RunManager(folder, settingsPath);
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
