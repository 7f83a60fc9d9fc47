#include "LyricsWindow_win32.h"

#include <windowsx.h>

#include "EdgeBands.h"
#include "Wide_win32.h"

CLyricsWindow::CLyricsWindow(std::function<void(CLyricsWindow&)> onDoubleClick)
    : onDoubleClick_(std::move(onDoubleClick)) {
    HDC screen = GetDC(nullptr);
    m_hMemDC = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
}

CLyricsWindow::~CLyricsWindow() { DeleteDC(m_hMemDC); }

bool CLyricsWindow::Create(const std::wstring& className, int x, int y, int width, int height) {
    RegisterWindowClass(className.c_str(), CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(kExStyle, className.c_str(), kStyle, x, y, width, height);
}

void CLyricsWindow::SetText(const std::string& text) {
    m_strText = Widen(text);
    renderer_.SetText(m_strText);
    Draw();
}

std::string CLyricsWindow::Text() const { return Narrow(m_strText); }

void CLyricsWindow::SetFillColor(uint32_t argb) { renderer_.SetFillColor(argb); }

void CLyricsWindow::SetTextFont(const std::string& face, int style, float emSize) {
    renderer_.SetTextFont(Widen(face), style, emSize);
}

void CLyricsWindow::Draw() {
    if (!hwnd()) return;
    RECT client;
    GetClientRect(hwnd(), &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    renderer_.RenderInto(m_hMemDC, size.cx, size.cy, [&](HDC source, void*) {
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        HDC screen = GetDC(nullptr);
        UpdateLayeredWindow(hwnd(), screen, nullptr, const_cast<SIZE*>(&size), source, &origin, 0, &blend,
                            ULW_ALPHA);
        ReleaseDC(nullptr, screen);
    });
}

void CLyricsWindow::Show(bool visible) {
    if (hwnd()) ShowWindow(hwnd(), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void CLyricsWindow::SetTopMost(bool topMost) {
    if (hwnd())
        SetWindowPos(hwnd(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

WindowRect CLyricsWindow::GetWindowRect() const {
    RECT rect{};
    if (hwnd()) ::GetWindowRect(hwnd(), &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void CLyricsWindow::Destroy() {
    if (hwnd()) DestroyWindow(hwnd());
}

LRESULT CLyricsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            // The whole window is client area: turn the press into a caption press.
            ReleaseCapture();
            return SendMessageW(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        case WM_NCLBUTTONDOWN:
            return OnNcLButtonDown(wParam, lParam);
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
            break;
        case WM_LBUTTONDBLCLK:
            if (onDoubleClick_) onDoubleClick_(*this);
            return 0;
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

// lParam holds the press in client coordinates, as the press handler sent it.
LRESULT CLyricsWindow::OnNcLButtonDown(WPARAM wParam, LPARAM lParam) {
    const WindowRect rect = GetWindowRect();
    const Edge edge = EdgeAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), rect.width(), rect.height());
    const DWORD screenPoint = GetMessagePos();
    if (edge == Edge::None) {
        // The system's move loop measures from the press, in screen coordinates.
        return DefWindowProcW(hwnd(), WM_NCLBUTTONDOWN, wParam, LPARAM(screenPoint));
    }
    WPARAM command = SC_SIZE;
    switch (edge) {
        case Edge::Left: command += WMSZ_LEFT; break;
        case Edge::Right: command += WMSZ_RIGHT; break;
        case Edge::Top: command += WMSZ_TOP; break;
        default: command += WMSZ_BOTTOM; break;
    }
    SendMessageW(hwnd(), WM_SYSCOMMAND, command, LPARAM(screenPoint));
    Draw();  // again at the new size, so the text wraps at the new width
    return 0;
}

bool CLyricsWindow::OnSetCursor() {
    const DWORD pos = GetMessagePos();
    const WindowRect rect = GetWindowRect();
    const int x = GET_X_LPARAM(pos) - rect.left;
    const int y = GET_Y_LPARAM(pos) - rect.top;
    switch (CursorAt(x, y, rect.width(), rect.height())) {
        case SizeCursor::WestEast: SetCursor(LoadCursorW(nullptr, IDC_SIZEWE)); return true;
        case SizeCursor::NorthSouth: SetCursor(LoadCursorW(nullptr, IDC_SIZENS)); return true;
        case SizeCursor::Arrow: break;
    }
    return false;
}

std::unique_ptr<NoteWindow> LyricsWindowFactory::CreateNoteWindow(const std::string& className, int32_t x,
                                                                  int32_t y, int32_t width, int32_t height) {
    auto window = std::make_unique<CLyricsWindow>([this](CLyricsWindow& note) {
        if (onDoubleClick) onDoubleClick(note);
    });
    window->Create(Widen(className), x, y, width, height);
    return window;
}
