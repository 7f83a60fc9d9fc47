#include "ProgramUnderTest.h"

#include <commctrl.h>

namespace {

bool ClassIs(HWND hwnd, const std::wstring& name) {
    wchar_t buffer[256] = {};
    GetClassNameW(hwnd, buffer, 256);
    return name == buffer;
}

bool CaptionIs(HWND hwnd, const std::wstring& caption) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return caption == buffer;
}

struct Search {
    DWORD processId;
    bool (*match)(HWND, const std::wstring&);
    const std::wstring* what;
    HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && search->match(hwnd, *search->what)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Mouse input at an absolute screen point, as the mouse driver reports it.
void SendMouse(DWORD flags, int x, int y) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

}  // namespace

std::wstring ProgramUnderTest::ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"Skyslate2.exe";
}

ProgramUnderTest::ProgramUnderTest(const std::wstring& folder, const std::wstring& extraArgs) {
    std::wstring commandLine = L"\"" + ProgramPath() + L"\" " + extraArgs;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
}

ProgramUnderTest::~ProgramUnderTest() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

HWND ProgramUnderTest::Find(bool (*match)(HWND, const std::wstring&), const std::wstring& what) const {
    Search search{processId_, match, &what, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramUnderTest::FindByClass(const std::wstring& className) const { return Find(ClassIs, className); }

HWND ProgramUnderTest::FindByCaption(const std::wstring& caption) const { return Find(CaptionIs, caption); }

bool ProgramUnderTest::WaitUntilReady() {
    for (int i = 0; i < 300; ++i) {
        HWND manager = FindByCaption(L"SettingManager");
        // The manager selects its first note last when it starts, and stays hidden. Wine's list answers 0
        // for an empty list too: the rows must be there first.
        const HWND list = manager ? GetDlgItem(manager, 1008) : nullptr;
        const bool started = list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0 &&
                             SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED) == 0;
        if (started && !IsWindowVisible(manager)) {
            Sleep(500);
            if (!IsWindowVisible(manager)) return true;
        }
        if (WaitForExit(0)) return false;
        Sleep(100);
    }
    return false;
}

bool ProgramUnderTest::EndSession() {
    HWND manager = FindByCaption(L"SettingManager");
    if (!manager) return false;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(manager, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &result);
    return WaitForExit(20000);
}

DWORD ProgramUnderTest::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_, &code);
    return code;
}

bool ProgramUnderTest::WaitForExit(DWORD milliseconds) {
    return process_ && WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

void DragMouse(int x, int y, int dx, int dy) {
    SendMouse(0, x, y);
    Sleep(200);
    SendMouse(MOUSEEVENTF_LEFTDOWN, x, y);
    Sleep(200);
    constexpr int kSteps = 5;
    for (int step = 1; step <= kSteps; ++step) {
        SendMouse(0, x + dx * step / kSteps, y + dy * step / kSteps);
        Sleep(100);
    }
    SendMouse(MOUSEEVENTF_LEFTUP, x + dx, y + dy);
    Sleep(300);
}

void DoubleClickMouse(int x, int y) {
    SendMouse(0, x, y);
    Sleep(200);
    for (int click = 0; click < 2; ++click) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, x, y);
        SendMouse(MOUSEEVENTF_LEFTUP, x, y);
        Sleep(50);
    }
}

void ClickControl(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

HWND WaitForVisible(const ProgramUnderTest& program, const std::wstring& caption) {
    for (int i = 0; i < 100; ++i, Sleep(100))
        if (HWND window = program.FindByCaption(caption); window && IsWindowVisible(window)) return window;
    return nullptr;
}
