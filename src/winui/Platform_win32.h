#pragma once

#include <memory>

#include "winui/InstanceChannel_win32.h"
#include "app/StartUp.h"

// The Windows front end (Win32 and GDI+), the program users put in a folder and double-click.
//
// Implemented features, and where they differ from the Linux front end:
// - Notes are layered, topmost tool popups updated with per-pixel alpha (UpdateLayeredWindow): clicks go
//   through wherever nothing is painted; a locked note (WS_EX_TRANSPARENT) takes no click at all. Notes
//   never take the focus (WS_EX_NOACTIVATE).
// - A drag is tracked by the note itself with the mouse captured, once the mouse travels the system's
//   drag distance; there is no window manager to hand it to.
// - The program is DPI-aware (per monitor): every place and size is in physical pixels, as stored.
// - The font dialog has a colour box: choosing a font also sets the note's colour.
// - Under Wine, GDI+ does not wrap long lines.
// - The tray icon is re-added when Explorer restarts; a second start reaches the running copy through a
//   message-only window named after the settings file.
// - The session's end: WM_QUERYENDSESSION saves and quits without waiting on a message box.
// - Failures are written to "Skyslate2.log" beside the settings file and to the debugger's output.
class Win32Platform : public Platform {
public:
    bool ChangeFolder(const std::string& folder) override;
    std::string CurrentFolder() const override;
    bool FileExists(const std::string& path) const override;
    bool MakeFolder(const std::string& folder) override;
    std::string PerUserFolder() const override;
    bool RunsFromBuildFolder() const override;
    std::string SettingsPathIn(const std::string& folder) const override;
    bool LockSettings(const std::string& settingsPath) override;
    bool BringRunningCopyForward(const std::string& settingsPath) override;
    void ShowError(const std::string& text, const std::string& detail) override;
    int Run(const std::string& folder, const std::string& settingsPath) override;

private:
    std::unique_ptr<InstanceChannel> channel_;
};
