// The Linux program: the portable start-up on the Qt platform.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <cstdio>
#include <string>
#include <vector>

#include "app/NotesPath.h"
#include "qt/Platform_qt.h"
#include "qt/Texts_qt.h"
#include "qt/wayland/Display_wl.h"

namespace {

class StdioConsole : public Console {
public:
    void Print(const std::string& text, bool isError) override { std::fputs(text.c_str(), isError ? stderr : stdout); }
};

// Qt's own windows (dialogs, menus, the tray) go where the notes can go along: on the X server where
// there is one, whatever QT_QPA_PLATFORM says, since the X11 notes live on Qt's connection to it;
// on the compositor otherwise.
void ChooseQtPlatform(bool x11) { qputenv("QT_QPA_PLATFORM", x11 ? "xcb" : "wayland"); }

void SetUpApplication(QApplication& application) {
    application.setApplicationName("Skyslate2");
    QIcon icon;
    for (const char* size : {"16x16", "32x32", "48x48", "256x256"})
        icon.addFile(QString(":/icons/hicolor/%1/apps/skyslate2.png").arg(size));
    application.setWindowIcon(icon);
    application.setQuitOnLastWindowClosed(false);
    LoadTranslations(application, UserLanguage());
}

// Said on stderr, and in a box where any window can show.
int RefuseToStart(const std::string& why, const DesktopOffers& offers, int argc, char* argv[]) {
    std::fprintf(stderr, "skyslate2: %s\n", why.c_str());
    if (!offers.x11 && !offers.wayland) return kExitNoDesktop;
    ChooseQtPlatform(offers.x11);
    QApplication application(argc, argv);
    SetUpApplication(application);
    QMessageBox::critical(nullptr, "Skyslate2", QString::fromStdString(why));
    return kExitNoDesktop;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts: --help and --version need no display.
    const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), true);
    StdioConsole console;
    if (const auto exitCode = AnswerCommandLine(options, console)) return *exitCode;

    std::unique_ptr<wayland::Display> compositor;
    if (options.notesOn != NotesOn::X11) compositor = wayland::Display::Connect();
    DesktopOffers offers;
    offers.x11 = !qEnvironmentVariableIsEmpty("DISPLAY");
    offers.wayland = compositor != nullptr;
    offers.layerShell = compositor && compositor->LayerShell();
    const NotesPath path = ChooseNotesPath(options.notesOn, offers);
    if (path == NotesPath::None) return RefuseToStart(NoNotesPathText(options.notesOn, offers), offers, argc, argv);
    if (path != NotesPath::LayerShell) compositor.reset();

    ChooseQtPlatform(offers.x11);
    QApplication application(argc, argv);
    SetUpApplication(application);
    QtPlatform platform(std::move(compositor));
    return RunProgram(options, platform);
}
