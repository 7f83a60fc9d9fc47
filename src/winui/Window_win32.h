#pragma once

#include <windows.h>

#include <string>

// A window whose messages reach a member function. The object is attached when the window is created
// and detached when it is destroyed; the object outlives its window.
class WindowBase {
public:
    WindowBase() = default;
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    // Registers a class that routes to this base; TRUE when it exists already or was registered.
    static bool RegisterWindowClass(const wchar_t* className, UINT style, HCURSOR cursor, HBRUSH background);
    bool CreateEx(DWORD exStyle, const wchar_t* className, DWORD style, int x, int y, int width, int height,
                  HWND parent = nullptr);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A dialog from a template of the resource file, run modally or modelessly; messages reach HandleMessage.
class DialogBase {
public:
    DialogBase() = default;
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    HWND hwnd() const { return hwnd_; }
    INT_PTR RunModal(int templateId, HWND owner);
    HWND CreateModeless(int templateId, HWND owner);
    void End(INT_PTR result);

protected:
    // Returns TRUE when the message was handled, as a dialog procedure does.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) { CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

private:
    static INT_PTR CALLBACK Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};

// Puts every shown dialog of the program (message boxes and pickers too) above the notes, which are
// topmost windows as well; for after a note came up.
void RaiseDialogsAboveNotes();

// The text of a window, and a window's text set from UTF-8.
std::string WindowTextUtf8(HWND hwnd);
void SetWindowTextUtf8(HWND hwnd, const std::string& text);
// An edit control's text, beyond the 32,767 characters a user may type by default, and whether the user
// may change it; LF line breaks both ways.
void SetEditControlText(HWND edit, const std::string& text, bool editable);
std::string EditControlText(HWND edit);
