// What the window system alone costs for notes: 100 layered, topmost tool popups, each with a window
// class of its own, given a 300 x 200 picture with a band of opaque pixels (UpdateLayeredWindow) and
// shown without
// activation, as the Windows program does for 100 notes, without any drawing of text. Under Wine this is
// Wine's own share of the program's start-up. With --stay it keeps running (until it is ended), for
// bench/startup_x11 to see its windows appear.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    const bool stay = argc > 1 && std::wstring(argv[1]) == L"--stay";
    constexpr int kNotes = 100;
    constexpr int kWidth = 300;
    constexpr int kHeight = 200;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    HDC screen = GetDC(nullptr);
    HDC memDC = CreateCompatibleDC(screen);
    std::vector<HWND> windows;
    for (int i = 0; i < kNotes; ++i) {
        const std::wstring name = L"bench_" + std::to_wstring(i);
        WNDCLASSEXW info = {};
        info.cbSize = sizeof info;
        info.lpfnWndProc = DefWindowProcW;
        info.hInstance = GetModuleHandleW(nullptr);
        info.lpszClassName = name.c_str();
        RegisterClassExW(&info);
        HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE,
                                      name.c_str(), nullptr, WS_POPUP | WS_SYSMENU, (i * 37) % 1300, (i * 53) % 800,
                                      kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        BITMAPINFO bitmap = {};
        bitmap.bmiHeader.biSize = sizeof bitmap.bmiHeader;
        bitmap.bmiHeader.biWidth = kWidth;
        bitmap.bmiHeader.biHeight = -kHeight;
        bitmap.bmiHeader.biPlanes = 1;
        bitmap.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(memDC, &bitmap, DIB_RGB_COLORS, &bits, nullptr, 0);
        for (int y = 0; y < 40; ++y)  // something to show, as a line of text would be
            for (int x = 0; x < 200; ++x) static_cast<uint32_t*>(bits)[y * kWidth + x] = 0xFF0080FF;
        HGDIOBJ previous = SelectObject(memDC, section);
        SIZE size{kWidth, kHeight};
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, screen, nullptr, &size, memDC, &origin, 0, &blend, ULW_ALPHA);
        SelectObject(memDC, previous);
        DeleteObject(section);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        windows.push_back(window);
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    while (stay && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    QueryPerformanceCounter(&end);
    std::printf("%d layered windows created, given a picture and shown: %.1f ms\n", kNotes,
                double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
    for (HWND window : windows) DestroyWindow(window);
    DeleteDC(memDC);
    ReleaseDC(nullptr, screen);
    return 0;
}
