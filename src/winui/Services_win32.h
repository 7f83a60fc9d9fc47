#pragma once

#include <windows.h>

#include <string>

#include "frontend/FrontEnd.h"
#include "notewindow/Placement.h"

// The colour and font pickers of Windows; both open on the note's current appearance.
class Win32Pickers : public Pickers {
public:
    std::optional<uint32_t> PickColor(uint32_t initial) override;
    std::optional<FontChoice> PickFont(const FontChoice& initial) override;

private:
    COLORREF customColors_[16] = {};
};

// Message boxes with an OK button, over the active window.
class Win32Messages : public Messages {
public:
    void ShowMessage(const std::string& text) override;
    void ShowHelp(const std::string& text) override;
};

// Ends the event loop with the quit message.
class Win32App : public AppControl {
public:
    void Quit() override { PostQuitMessage(0); }
};

// The monitors of the desktop, in physical pixels (the program is DPI-aware).
class Win32Screens : public Screens {
public:
    std::vector<Monitor> Monitors() const override;
};

// Failures go to the debugger's output and to "Skyslate2.log" beside the settings file.
class FileLog : public FailureLog {
public:
    explicit FileLog(std::wstring path) : path_(std::move(path)) {}
    void Failure(const std::string& line) override;

private:
    std::wstring path_;
};

// A later look at the settings file: a timer on the manager dialog, whose message the front end turns into
// the manager's ReloadNotes.
class Win32Wakeup : public FileWakeup {
public:
    static constexpr UINT_PTR kTimerId = 7;
    void LookAgainAfter(int milliseconds) override {
        if (window) SetTimer(window, kTimerId, UINT(milliseconds > 0 ? milliseconds : 1), nullptr);
    }
    HWND window = nullptr;
};

// This computer's name, as sync tools put it in the names of its conflict copies.
std::string ComputerName();
