// The Linux program: the portable start-up on the Qt platform.
#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <string>
#include <vector>

#include "qt/Platform_qt.h"
#include "qt/Texts_qt.h"

namespace {

// Free positioning of windows needs X11; on a Wayland session the program runs through XWayland.
void PreferX11() {
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY") &&
        !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

class StdioConsole : public Console {
public:
    void Print(const std::string& text, bool isError) override { std::fputs(text.c_str(), isError ? stderr : stdout); }
};

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts: --help and --version need no display.
    const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    StdioConsole console;
    if (const auto exitCode = AnswerCommandLine(options, console)) return *exitCode;
    PreferX11();
    QApplication application(argc, argv);
    application.setApplicationName("Skyslate2");
    QIcon icon;
    for (const char* size : {"16x16", "32x32", "48x48", "256x256"})
        icon.addFile(QString(":/icons/hicolor/%1/apps/skyslate2.png").arg(size));
    application.setWindowIcon(icon);
    application.setQuitOnLastWindowClosed(false);
    LoadTranslations(application, UserLanguage());
    QtPlatform platform;
    return RunProgram(options, platform);
}
