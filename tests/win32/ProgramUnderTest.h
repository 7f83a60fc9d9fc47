#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Skyslate2.exe started in a folder of its own, and the windows it shows.
class ProgramUnderTest {
public:
    explicit ProgramUnderTest(const std::wstring& folder, const std::wstring& extraArgs = L"");
    ~ProgramUnderTest();

    bool Started() const { return process_ != nullptr; }
    // Waits until the program shows its note windows (the manager has started); false after a time-out.
    bool WaitUntilReady();
    // The top-level windows of this process with that class name, or that caption.
    HWND FindByClass(const std::wstring& className) const;
    HWND FindByCaption(const std::wstring& caption) const;
    // Ends the session as Windows does at log-off; true when the program exits by itself.
    bool EndSession();
    bool WaitForExit(DWORD milliseconds);
    DWORD ExitCode() const;
    DWORD ProcessId() const { return processId_; }

    static std::wstring ProgramPath();

private:
    HWND Find(bool (*match)(HWND, const std::wstring&), const std::wstring& what) const;

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Presses at a screen point, moves by (dx, dy) in steps and releases, as a user's drag.
void DragMouse(int x, int y, int dx, int dy);
// Two quick clicks at a screen point.
void DoubleClickMouse(int x, int y);
// Clicks a control of a dialog, as its button would be clicked; posted, so that a modal loop it opens
// does not hold the caller.
void ClickControl(HWND dialog, int id);
// Waits up to ten seconds for the program's top-level window with this caption to be visible.
HWND WaitForVisible(const ProgramUnderTest& program, const std::wstring& caption);
