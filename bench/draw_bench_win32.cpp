// Draw of a 1200 x 500 note with two lines of 38-pixel text, for reference under Wine. Google Benchmark
// is not built for Windows here, so this times a fixed number of draws and prints the median.
#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "winui/NoteRenderer_win32.h"

int wmain() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    {
        NoteRenderer renderer;
        renderer.SetTextFont("黑体", 0, 38.0f);
        renderer.SetText(L"欢迎使用桌面文字便签\r\n              ——Skyslate2 敬上");
        HDC screen = GetDC(nullptr);
        HDC memDC = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        std::vector<double> times;
        for (int i = 0; i < 200; ++i) {
            QueryPerformanceCounter(&start);
            renderer.RenderInto(memDC, 1200, 500, [](HDC, void*) {});
            QueryPerformanceCounter(&end);
            times.push_back(double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart));
        }
        DeleteDC(memDC);
        std::sort(times.begin(), times.end());
        std::printf("Draw 1200x500, two lines at 38 px: median %.3f ms, min %.3f ms over %zu draws\n",
                    times[times.size() / 2], times.front(), times.size());
    }
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
