#pragma once

#include <QRect>
#include <QString>
#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// build/linux/bin/skyslate2 started in a folder of its own, with its own XDG folders, and the X11
// windows it shows.
class RunningProgram {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;
    // userId: run as that user (when the tests run as root; a copy of the program that user can reach),
    // -1 for the tests' own; environment: variables set for it besides.
    RunningProgram(const std::string& folder, const std::string& configHome, const std::string& runtimeDir,
                   int userId = -1, const Environment& environment = {});
    ~RunningProgram();

    struct Window {
        uint32_t id = 0;
        QRect geometry;  // on the screen
        bool viewable = false;
        bool embedded = false;  // marked as an XEmbed client
        bool overrideRedirect = false;  // placed by the program itself: pop-ups
    };
    // The window whose role (X11 WM_WINDOW_ROLE) is given, waiting for it up to a few seconds.
    std::optional<Window> WaitForRole(const QString& role);
    std::optional<Window> FindByRole(const QString& role) const;
    std::optional<Window> FindByTitle(const QString& title) const;
    // Whether a window of that title or role exists and is on screen.
    bool ViewableTitle(const QString& title) const;
    bool ViewableRole(const QString& role) const;
    // Whether one of the program's pop-up menus is on screen.
    bool MenuShown() const;
    // A window of the program embedded in another program's window and shown there (a tray icon in a
    // system tray).
    std::optional<Window> FindEmbedded() const;
    // Sends SIGTERM and waits for the exit; true when the program ended by itself with status 0.
    bool Terminate();
    bool Exited(int milliseconds);
    // The exit status once Exited, -1 before or after a signal.
    int ExitCode() const;

    // The program's resident memory, in KiB.
    long ResidentKiB() const;
    pid_t Pid() const { return pid_; }

    static std::string ProgramPath();

private:
    std::vector<Window> Windows() const;
    std::optional<Window> Find(const char* property, const QString& value) const;

    pid_t pid_ = -1;
    int status_ = -1;
};
