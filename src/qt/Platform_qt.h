#pragma once

#include <memory>

#include "qt/InstanceChannel_qt.h"
#include "app/StartUp.h"
#include "qt/Texts_qt.h"

namespace wayland {
class Display;
}

// The Linux front end (Qt 6 Widgets; the notes on the Wayland compositor's layer shell where it has one,
// X11 windows elsewhere, through XWayland on other Wayland sessions).
//
// Implemented features, and where they differ from the Windows front end:
// - Notes are frameless tool windows with per-pixel alpha under a compositing manager; without one they
//   take the shape of their text (edges not smoothed against the desktop). Either way clicks go through
//   wherever nothing is painted, and a locked note takes no click at all.
// - Layer-shell notes: topmost ones on the layer above the windows, the others below; all go below the
//   windows while a dialog of the program shows. The program moves them itself and knows their place.
// - A drag of an X11 note uses the window manager's own move or resize once the pointer has travelled the drag
//   distance (EWMH _NET_WM_MOVERESIZE), by hand where there is no window manager.
// - Scaled desktops: places and sizes stay physical pixels, and text is drawn at the screen's resolution.
// - Qt's font dialog has no colour box: choosing a font keeps the note's colour.
// - The tray icon needs a StatusNotifierItem host or an XEmbed system tray; a second start of the
//   program reaches the running copy through a local socket in the user's runtime folder.
// - The session's end: SIGTERM, SIGINT, SIGHUP and the session manager's save request save and quit.
class QtPlatform : public Platform {
public:
    // Notes on the compositor's layer shell over this connection; X11 windows without one.
    explicit QtPlatform(std::unique_ptr<wayland::Display> layerShell) : layerShell_(std::move(layerShell)) {}
    ~QtPlatform() override;
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
    std::unique_ptr<wayland::Display> layerShell_;
    std::unique_ptr<InstanceChannel> channel_;
    UiLanguage language_ = UserLanguage();
};
