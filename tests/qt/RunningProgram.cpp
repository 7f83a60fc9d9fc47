#include "RunningProgram.h"

#include "ProcessMemory.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <cstring>

namespace {

xcb_connection_t* Connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t Atom(const char* name) {
    auto* reply = xcb_intern_atom_reply(Connection(), xcb_intern_atom(Connection(), 0, uint16_t(strlen(name)), name),
                                        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

QByteArray Property(xcb_window_t window, xcb_atom_t property) {
    auto* reply = xcb_get_property_reply(
        Connection(), xcb_get_property(Connection(), 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    QByteArray value;
    if (reply) value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                                  xcb_get_property_value_length(reply));
    free(reply);
    return value;
}

}  // namespace

std::string RunningProgram::ProgramPath() { return SKYSLATE2_PROGRAM; }

namespace {

// The program as another user can start it: a clone may lie where only its owner can enter (root's
// home folder), so that user runs a copy in a folder of its own under the temporary folder, made once
// and removed when the tests end.
class ProgramCopyForOthers {
public:
    ProgramCopyForOthers() {
        namespace fs = std::filesystem;
        folder_ = fs::temp_directory_path() / ("skyslate2-program-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
        path_ = (folder_ / "skyslate2").string();
        fs::copy_file(SKYSLATE2_PROGRAM, path_, fs::copy_options::overwrite_existing);
        fs::permissions(path_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);
    }
    ~ProgramCopyForOthers() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::string path_;
};

std::string ProgramFor(int userId) {
    if (userId < 0) return SKYSLATE2_PROGRAM;
    static const ProgramCopyForOthers copy;
    return copy.Path();
}

}  // namespace

RunningProgram::RunningProgram(const std::string& folder, const std::string& configHome,
                               const std::string& runtimeDir, int userId, const Environment& environment) {
    const std::string program = ProgramFor(userId);
    pid_ = fork();
    if (pid_ != 0) return;
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    if (userId >= 0 && (setgid(gid_t(userId)) != 0 || setuid(uid_t(userId)) != 0)) _exit(126);
    if (chdir(folder.c_str()) != 0) _exit(127);
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    setenv("HOME", runtimeDir.c_str(), 1);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

RunningProgram::~RunningProgram() {
    if (pid_ > 0 && !Exited(0)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool RunningProgram::Exited(int milliseconds) {
    if (status_ != -1) return true;
    QElapsedTimer timer;
    timer.start();
    do {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
            return true;
        }
        QThread::msleep(20);
    } while (timer.elapsed() < milliseconds);
    return false;
}

int RunningProgram::ExitCode() const {
    return status_ != -1 && WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
}

long RunningProgram::ResidentKiB() const {
    return ResidentKiBOf(pid_);
}

bool RunningProgram::Terminate() {
    kill(pid_, SIGTERM);
    return Exited(15000) && WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
}

// The program's windows wherever they are in the tree: a window manager puts them into frames of its own,
// a system tray into its panel.
std::vector<RunningProgram::Window> RunningProgram::Windows() const {
    xcb_connection_t* connection = Connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t pidAtom = Atom("_NET_WM_PID");
    const xcb_atom_t embedAtom = Atom("_XEMBED_INFO");
    std::vector<Window> found;
    std::vector<std::pair<xcb_window_t, int>> pending{{root, 0}};
    while (!pending.empty()) {
        const auto [parent, depth] = pending.back();
        pending.pop_back();
        auto* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
        if (!tree) continue;
        xcb_window_t* children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            const QByteArray pid = Property(children[i], pidAtom);
            if (pid.size() != 4 || *reinterpret_cast<const uint32_t*>(pid.constData()) != uint32_t(pid_)) {
                if (depth < 4) pending.push_back({children[i], depth + 1});
                continue;
            }
            auto* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, children[i]), nullptr);
            auto* place = xcb_translate_coordinates_reply(
                connection, xcb_translate_coordinates(connection, children[i], root, 0, 0), nullptr);
            auto* attributes =
                xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, children[i]), nullptr);
            if (geometry && place && attributes)
                found.push_back({children[i], QRect(place->dst_x, place->dst_y, geometry->width, geometry->height),
                                 attributes->map_state == XCB_MAP_STATE_VIEWABLE,
                                 !Property(children[i], embedAtom).isEmpty(), attributes->override_redirect != 0});
            free(geometry);
            free(place);
            free(attributes);
        }
        free(tree);
    }
    return found;
}

std::optional<RunningProgram::Window> RunningProgram::Find(const char* property, const QString& value) const {
    const xcb_atom_t atom = Atom(property);
    for (const Window& window : Windows())
        if (QString::fromUtf8(Property(window.id, atom)) == value) return window;
    return std::nullopt;
}

std::optional<RunningProgram::Window> RunningProgram::FindEmbedded() const {
    for (const Window& window : Windows())
        // Qt marks all its windows for XEmbed: the tray icon is the one of an icon's size.
        if (window.embedded && window.viewable && window.geometry.width() > 1 && window.geometry.width() <= 64 &&
            window.geometry.height() <= 64)
            return window;
    return std::nullopt;
}

bool RunningProgram::ViewableTitle(const QString& title) const {
    const std::optional<Window> window = FindByTitle(title);
    return window && window->viewable;
}

bool RunningProgram::MenuShown() const {
    // Qt's menus are its only windows that bypass the window manager.
    for (const Window& window : Windows())
        if (window.viewable && window.overrideRedirect) return true;
    return false;
}

bool RunningProgram::ViewableRole(const QString& role) const {
    const std::optional<Window> window = FindByRole(role);
    return window && window->viewable;
}

std::optional<RunningProgram::Window> RunningProgram::FindByRole(const QString& role) const {
    return Find("WM_WINDOW_ROLE", role);
}

std::optional<RunningProgram::Window> RunningProgram::FindByTitle(const QString& title) const {
    return Find("_NET_WM_NAME", title);
}

std::optional<RunningProgram::Window> RunningProgram::WaitForRole(const QString& role) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        if (auto window = FindByRole(role)) {
            QThread::msleep(300);  // let it settle: mapped or hidden as the settings say
            return FindByRole(role);
        }
        QThread::msleep(50);
    }
    return std::nullopt;
}
