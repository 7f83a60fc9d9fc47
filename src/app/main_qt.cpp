// The Linux program: the portable start-up on the Qt platform.
#include <QApplication>
#include <QIcon>

#include <string>
#include <vector>

#include "app/Platform_qt.h"

namespace {

// Free positioning of windows needs X11; on a Wayland session the program runs through XWayland.
void PreferX11() {
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int main(int argc, char* argv[]) {
    PreferX11();
    std::vector<std::string> args(argv + 1, argv + argc);
    QApplication application(argc, argv);
    application.setApplicationName("Skyslate2");
    application.setWindowIcon(QIcon(":/skyslate2.png"));
    application.setQuitOnLastWindowClosed(false);
    QtPlatform platform;
    return RunProgram(args, platform);
}
