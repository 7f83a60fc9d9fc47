#include "winui/LyricsWindow_win32.h"

#include <windowsx.h>

#include <cstdint>

#include "notewindow/EdgeBands.h"
#include "notewindow/HitArea.h"
#include "store/Wide_win32.h"

CLyricsWindow::CLyricsWindow(HDC memDC, std::function<void(CLyricsWindow&)> onDoubleClick,
                             UserPlacedHandler onUserPlaced)
    : drag_(GetSystemMetrics(SM_CXDRAG)),
      clicks_(GetDoubleClickTime(), GetSystemMetrics(SM_CXDOUBLECLK) / 2),
      m_hMemDC(memDC),
      onDoubleClick_(std::move(onDoubleClick)),
      onUserPlaced_(std::move(onUserPlaced)) {}

bool CLyricsWindow::Create(const std::wstring& className, int x, int y, int width, int height) {
    RegisterWindowClass(className.c_str(), CS_VREDRAW | CS_HREDRAW, LoadCursorW(nullptr, IDC_ARROW),
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(kExStyle, className.c_str(), kStyle, x, y, width, height);
}

void CLyricsWindow::SetLook(NoteLook look) {
    renderer_.SetLook(std::move(look));
    Draw();
}

std::string CLyricsWindow::Text() const { return renderer_.Text(); }

void CLyricsWindow::Draw() {
    drawPending_ = true;
    if (hwnd() && IsWindowVisible(hwnd())) Render();
}

namespace {

// A layered window lets the mouse through where a pixel's alpha is 0: between the letters and words of the
// text that would be most of it. There the pixels get an alpha of 1, which no eye sees.
void TakeTheMouseOnTheWords(uint8_t* bits, int width, int height) {
    GdiFlush();
    const int bytesPerLine = width * 4;
    for (const WindowRect& box : TextHitBoxes(bits, width, height, bytesPerLine))
        for (int y = box.top; y < box.bottom; ++y) {
            auto* pixel = reinterpret_cast<uint32_t*>(bits + size_t(y) * size_t(bytesPerLine)) + box.left;
            for (int x = box.left; x < box.right; ++x, ++pixel)
                if ((*pixel >> 24) == 0) *pixel = 0x01000000;
        }
}

}  // namespace

void CLyricsWindow::Render() {
    if (!hwnd()) return;
    drawPending_ = false;
    RECT client;
    GetClientRect(hwnd(), &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    renderer_.RenderInto(m_hMemDC, size.cx, size.cy, [&](HDC source, void* bits) {
        TakeTheMouseOnTheWords(static_cast<uint8_t*>(bits), int(size.cx), int(size.cy));
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        HDC screen = GetDC(nullptr);
        UpdateLayeredWindow(hwnd(), screen, nullptr, const_cast<SIZE*>(&size), source, &origin, 0, &blend,
                            ULW_ALPHA);
        ReleaseDC(nullptr, screen);
    });
}

bool CLyricsWindow::Show(bool visible) {
    if (!hwnd()) return false;
    if (visible && drawPending_) Render();  // the layered window gets its picture before it appears
    ShowWindow(hwnd(), visible ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (visible) RaiseDialogsAboveNotes();
    return bool(IsWindowVisible(hwnd())) == visible;
}

bool CLyricsWindow::SetTopMost(bool topMost) {
    const bool set = hwnd() && SetWindowPos(hwnd(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                                            SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (set && topMost) RaiseDialogsAboveNotes();
    return set;
}

bool CLyricsWindow::Place(const WindowRect& rect) {
    if (!hwnd() || !SetWindowPos(hwnd(), nullptr, rect.left, rect.top, rect.width(), rect.height(),
                                 SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    Draw();
    return true;
}

std::optional<WindowRect> CLyricsWindow::GetWindowRect() const {
    RECT rect{};
    if (!hwnd() || !::GetWindowRect(hwnd(), &rect)) return std::nullopt;
    return WindowRect{rect.left, rect.top, rect.right, rect.bottom};
}

std::optional<WindowRect> CLyricsWindow::TextBounds() {
    const std::optional<WindowRect> window = GetWindowRect();
    if (!window) return std::nullopt;
    const std::optional<WindowRect> text = renderer_.PaintedBounds(window->width(), window->height());
    if (!text) return std::nullopt;
    return WindowRect{window->left + text->left, window->top + text->top, window->left + text->right,
                      window->top + text->bottom};
}

// WS_EX_TRANSPARENT makes a layered window let every click through.
void CLyricsWindow::SetLocked(bool locked) {
    if (!hwnd()) return;
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, locked ? exStyle | WS_EX_TRANSPARENT : exStyle & ~WS_EX_TRANSPARENT);
}

void CLyricsWindow::Destroy() {
    if (hwnd()) DestroyWindow(hwnd());
}

LRESULT CLyricsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            OnPress(lParam);
            return 0;
        case WM_MOUSEMOVE:
            if (drag_.Pressed()) FollowDrag();
            return 0;
        case WM_LBUTTONUP:
            if (drag_.Pressed()) ReleaseCapture();  // ends the drag through WM_CAPTURECHANGED
            return 0;
        case WM_CAPTURECHANGED:
            EndDrag();
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
            break;
        case WM_CLOSE:
            return 0;  // Alt+F4 on a note: notes close only with the program or the manager's delete
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
}

void CLyricsWindow::OnPress(LPARAM lParam) {
    const DWORD pos = GetMessagePos();
    if (clicks_.Press(uint32_t(GetMessageTime()), {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)})) {
        if (drag_.Pressed()) ReleaseCapture();
        if (onDoubleClick_) onDoubleClick_(*this);
        return;
    }
    BeginDrag(lParam);
}

// A press on the text, once the mouse travels the drag distance, moves the note; a press in an edge
// band resizes that edge. The note follows the mouse until the button is released. lParam holds the press
// in client coordinates.
void CLyricsWindow::BeginDrag(LPARAM lParam) {
    const std::optional<WindowRect> place = GetWindowRect();
    if (!place) return;
    const DWORD pos = GetMessagePos();
    drag_.Press({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}, *place);
    SetCapture(hwnd());
}

void CLyricsWindow::FollowDrag() {
    POINT cursor;
    GetCursorPos(&cursor);
    const DragSession::Step step = drag_.Move({cursor.x, cursor.y});
    if (step.kind == DragSession::Step::Kind::None) return;
    const WindowRect& rect = step.rect;
    SetWindowPos(hwnd(), nullptr, rect.left, rect.top, rect.width(), rect.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (step.redraw ? 0 : SWP_NOSIZE));
    if (step.redraw) Draw();  // the text wraps at the new width as the edge moves
}

void CLyricsWindow::EndDrag() {
    const bool dragged = drag_.Dragging();
    if (drag_.End()) Draw();
    if (!dragged || !onUserPlaced_) return;
    if (const std::optional<WindowRect> place = GetWindowRect()) onUserPlaced_(*this, *place);
}

bool CLyricsWindow::OnSetCursor() {
    const DWORD pos = GetMessagePos();
    const std::optional<WindowRect> place = GetWindowRect();
    if (!place) return false;
    const WindowRect rect = *place;
    const int x = GET_X_LPARAM(pos) - rect.left;
    const int y = GET_Y_LPARAM(pos) - rect.top;
    switch (CursorAt(x, y, rect.width(), rect.height())) {
        case SizeCursor::WestEast: SetCursor(LoadCursorW(nullptr, IDC_SIZEWE)); return true;
        case SizeCursor::NorthSouth: SetCursor(LoadCursorW(nullptr, IDC_SIZENS)); return true;
        case SizeCursor::Arrow: break;
    }
    return false;
}

LyricsWindowFactory::LyricsWindowFactory() {
    HDC screen = GetDC(nullptr);
    memDC_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
}

LyricsWindowFactory::~LyricsWindowFactory() { DeleteDC(memDC_); }

std::unique_ptr<NoteWindow> LyricsWindowFactory::CreateNoteWindow(const std::string& className,
                                                                  const WindowRect& rect) {
    auto window = std::make_unique<CLyricsWindow>(
        memDC_,
        [this](CLyricsWindow& note) {
            if (onDoubleClick) onDoubleClick(note);
        },
        [this](NoteWindow& note, const WindowRect& place) {
            if (onUserPlaced) onUserPlaced(note, place);
        });
    if (!window->Create(Widen(className), rect.left, rect.top, rect.width(), rect.height())) return nullptr;
    return window;
}
