// The Windows program: the portable start-up on the Win32 platform.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "winui/Platform_win32.h"
#include "store/Wide_win32.h"

namespace {

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(Narrow(argv[i]));
    LocalFree(argv);
    return args;
}

// A windowed program has no console of its own: it writes to the handles it was given (a pipe or a file),
// else to the console it was started from, else into a box.
class WindowsConsole : public Console {
public:
    void Print(const std::string& text, bool isError) override {
        HANDLE handle = GetStdHandle(isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
        DWORD written = 0;
        if (handle && handle != INVALID_HANDLE_VALUE && WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr))
            return;
        if (AttachConsole(ATTACH_PARENT_PROCESS)) {
            HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
            const std::wstring wide = Widen("\r\n" + text);
            const bool shown = console != INVALID_HANDLE_VALUE &&
                               WriteConsoleW(console, wide.data(), DWORD(wide.size()), &written, nullptr);
            if (console != INVALID_HANDLE_VALUE) CloseHandle(console);
            FreeConsole();
            if (shown) return;
        }
        MessageBoxW(nullptr, Widen(text).c_str(), L"Skyslate2", MB_OK | (isError ? MB_ICONWARNING : MB_ICONINFORMATION));
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    const Options options = ParseOptions(Arguments());
    WindowsConsole console;
    if (const auto exitCode = AnswerCommandLine(options, console)) return *exitCode;
    Win32Platform platform;
    return RunProgram(options, platform);
}
