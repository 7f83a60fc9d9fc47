// The Linux program: start-up, the one event loop, and shutdown in order.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <unistd.h>

#include <string>
#include <vector>

#include "store/AutostartXdg.h"
#include "app/CommandLine.h"
#include "notewindow/LyricsWindow_qt.h"
#include "manager/ManagerDialog_qt.h"
#include "app/Services_qt.h"
#include "app/SessionEnd_qt.h"
#include "store/Settings.h"
#include "quicksettings/TempSetingDlg_qt.h"

namespace {

void ShowError(const std::string& text) {
    QMessageBox::warning(nullptr, "Skyslate2", QString::fromStdString(text));
}

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

    const Options options = ParseOptions(args);
    if (!options.error.empty()) {
        ShowError(options.error);
        return 2;
    }
    if (options.settingsDir && chdir(options.settingsDir->c_str()) != 0) {
        ShowError("无法打开设置文件夹：" + *options.settingsDir);
        return 2;
    }
    const QString folder = QDir::currentPath();
    const std::string settingsPath = (folder + "/" + kSettingsFileName).toStdString();

    SingleInstance instance(QString::fromStdString(settingsPath));
    if (instance.AlreadyRunning()) {
        ShowError(text::kAlreadyRunning);
        return 1;
    }

    LyricsWindowFactory windows;
    QtScreens screens;
    QtPickers pickers;
    QtMessages messages;
    QtApp app;
    StderrLog log;
    XdgAutostart autostart(QCoreApplication::applicationFilePath().toStdString(), folder.toStdString());
    CSkyslate2Dlg dialog({windows, screens, pickers, messages, autostart, app, log, settingsPath});
    windows.onDoubleClick = [&](CLyricsWindow& note) { OpenQuickSettings(note, dialog.Manager(), messages, &dialog); };
    SessionEnd sessionEnd([&] { dialog.Manager().EndSession(); });

    dialog.Manager().Start();
    return application.exec();
}
