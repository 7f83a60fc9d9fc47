// The Windows program: the portable start-up on the Win32 platform.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/Platform_win32.h"
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

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    Win32Platform platform;
    return RunProgram(Arguments(), platform);
}
