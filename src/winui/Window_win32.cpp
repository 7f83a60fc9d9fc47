#include "winui/Window_win32.h"

#include "store/NoteText.h"

#include <string>
#include <tuple>

#include "store/Wide_win32.h"
#include "winui/Texts_win32.h"
#include "resource.h"

WindowBase::~WindowBase() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool WindowBase::RegisterWindowClass(const wchar_t* className, UINT style, HCURSOR cursor, HBRUSH background) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    if (GetClassInfoExW(instance, className, &info) || GetClassInfoExW(nullptr, className, &info)) return true;
    info = {};
    info.cbSize = sizeof info;
    info.style = style;
    info.lpfnWndProc = Route;
    info.hInstance = instance;
    info.hCursor = cursor;
    info.hbrBackground = background;
    info.lpszClassName = className;
    return RegisterClassExW(&info) != 0;
}

bool WindowBase::CreateEx(DWORD exStyle, const wchar_t* className, DWORD style, int x, int y, int width,
                          int height, HWND parent) {
    return CreateWindowExW(exStyle, className, nullptr, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), this) != nullptr;
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

DialogBase::~DialogBase() {
    if (hwnd_ && !modal_) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

INT_PTR DialogBase::RunModal(int templateId, HWND owner) {
    modal_ = true;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, Route,
                           reinterpret_cast<LPARAM>(this));
}

HWND DialogBase::CreateModeless(int templateId, HWND owner) {
    modal_ = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, Route,
                              reinterpret_cast<LPARAM>(this));
}

void DialogBase::End(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_) EndDialog(hwnd_, result);
    else DestroyWindow(hwnd_);
}

namespace {

// The program's icon in the dialog's title bar and in Alt+Tab, at the sizes the system uses there.
void ShowProgramIcon(HWND dialog) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const auto& [kind, width, height] : {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON},
                                              std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        const HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(IDI_SKYSLATE2), IMAGE_ICON, GetSystemMetrics(width),
                                       GetSystemMetrics(height), LR_SHARED);
        if (icon) SendMessageW(dialog, WM_SETICON, WPARAM(kind), LPARAM(icon));
    }
}

}  // namespace

INT_PTR CALLBACK DialogBase::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogBase*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        TranslateDialogTexts(hwnd);
        ShowProgramIcon(hwnd);
        // Notes are topmost windows too: a dialog of the program stays above them.
        SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

namespace {

BOOL CALLBACK RaiseIfDialog(HWND window, LPARAM) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (IsWindowVisible(window) && lstrcmpW(className, L"#32770") == 0)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

}  // namespace

void RaiseDialogsAboveNotes() { EnumThreadWindows(GetCurrentThreadId(), RaiseIfDialog, 0); }

std::string WindowTextUtf8(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(size_t(length) + 1, L'\0');
    GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(size_t(length));
    return Narrow(text);
}

void SetWindowTextUtf8(HWND hwnd, const std::string& text) { SetWindowTextW(hwnd, Widen(text).c_str()); }

// An edit control breaks lines at CR LF only; the program's texts break them at LF.
std::string EditControlText(HWND edit) { return ReplaceAll(WindowTextUtf8(edit), "\r\n", "\n"); }

void SetEditControlText(HWND edit, const std::string& text, bool editable) {
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextUtf8(edit, ReplaceAll(text, "\n", "\r\n"));
    SendMessageW(edit, EM_SETREADONLY, editable ? FALSE : TRUE, 0);
}
