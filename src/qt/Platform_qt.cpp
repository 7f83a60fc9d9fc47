#include "qt/Platform_qt.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSysInfo>
#include <unistd.h>

#include "qt/Services_qt.h"
#include "qt/SessionEnd_qt.h"
#include "qt/SettingsWatch_qt.h"
#include "qt/Texts_qt.h"
#include "qt/Tray_qt.h"
#include "qt/ManagerDialog_qt.h"
#include "qt/LyricsWindow_qt.h"
#include "qt/wayland/LayerNoteWindow_wl.h"
#include "qt/TempSetingDlg_qt.h"
#include "store/AutostartXdg.h"
#include "store/Settings.h"
#include "store/XdgFolders.h"

namespace {

// Calls onChange once, on the next turn of the event loop, after monitors came, went or changed size.
void WatchScreens(std::function<void()> onChange) {
    auto pending = std::make_shared<bool>(false);
    auto changed = [pending, onChange] {
        if (*pending) return;
        *pending = true;
        QMetaObject::invokeMethod(qApp, [pending, onChange] {
            *pending = false;
            onChange();
        }, Qt::QueuedConnection);
    };
    auto watch = [changed](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, qApp, changed);
        QObject::connect(screen, &QScreen::availableGeometryChanged, qApp, changed);
    };
    for (QScreen* screen : QGuiApplication::screens()) watch(screen);
    QObject::connect(qApp, &QGuiApplication::screenAdded, qApp, [watch, changed](QScreen* screen) {
        watch(screen);
        changed();
    });
    QObject::connect(qApp, &QGuiApplication::screenRemoved, qApp, changed);
}

// This machine's own files (daily copies of the settings, merged conflict copies): never in a synced folder.
std::string UserDataFolder() {
    const std::string data = XdgFolder("XDG_DATA_HOME", ".local/share");
    return data.empty() ? data : data + "/skyslate2";
}

std::unique_ptr<QtNoteWindowFactory> MakeNoteWindows(std::unique_ptr<wayland::Display> layerShell) {
    if (layerShell) return std::make_unique<LayerNoteWindowFactory>(std::move(layerShell));
    return std::make_unique<LyricsWindowFactory>();
}

}  // namespace

QtPlatform::~QtPlatform() = default;

bool QtPlatform::ChangeFolder(const std::string& folder) { return chdir(folder.c_str()) == 0; }

std::string QtPlatform::CurrentFolder() const { return QDir::currentPath().toStdString(); }

bool QtPlatform::FileExists(const std::string& path) const { return QFileInfo::exists(QString::fromStdString(path)); }

bool QtPlatform::MakeFolder(const std::string& folder) { return MakeFolders(folder); }

std::string QtPlatform::PerUserFolder() const {
    const std::string config = XdgFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? config : config + "/skyslate2";
}

bool QtPlatform::RunsFromBuildFolder() const {
    return QFileInfo::exists(QCoreApplication::applicationDirPath() + "/../CMakeCache.txt");
}

std::string QtPlatform::SettingsPathIn(const std::string& folder) const {
    return folder + "/" + kSettingsFileName;
}

bool QtPlatform::LockSettings(const std::string& settingsPath) {
    channel_ = std::make_unique<InstanceChannel>(settingsPath);
    return channel_->Lock();
}

bool QtPlatform::BringRunningCopyForward(const std::string&) { return channel_ && channel_->AskRunningCopy(); }

void QtPlatform::ShowError(const std::string& text, const std::string& detail) {
    QMessageBox box(QMessageBox::Warning, "Skyslate2", Ui(text) + QString::fromStdString(detail), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

// The composition root: the services first, then the manager dialog (the notes' list view), the notes'
// owner, its presenter and the quick settings; then what reports to them. The Windows front end builds
// them in the same order.
int QtPlatform::Run(const std::string& folder, const std::string& settingsPath) {
    const std::unique_ptr<QtNoteWindowFactory> windows = MakeNoteWindows(std::move(layerShell_));
    QtScreens screens;
    QtPickers pickers;
    QtMessages messages;
    QtApp app;
    StderrLog log;
    SystemClock clock;
    std::function<void()> lookAgain;
    QtWakeup wakeup([&] { lookAgain(); });
    XdgAutostart autostart(QCoreApplication::applicationFilePath().toStdString(), folder);

    CSkyslate2Dlg dialog;
    NoteManager notes(dialog, {*windows, screens, pickers, messages, autostart, app, log, clock, wakeup, settingsPath,
                               UserDataFolder(), language_, QSysInfo::machineHostName().toStdString(), SettleTimes{}});
    ManagerPresenter manager(dialog, notes);
    dialog.Attach(manager, notes);
    QuickSettingsDialogs quickSettings(notes, manager);

    windows->onDoubleClick = [&](NoteWindow& note) { OpenQuickSettings(note, quickSettings, &dialog); };
    windows->onUserPlaced = [&](NoteWindow& note, const WindowRect& place) { notes.OnUserPlaced(note, place); };
    lookAgain = [&] { manager.ReloadNotes(); };
    SessionEnd sessionEnd([&] { notes.EndSession(); });
    if (!channel_->Listen([&] { manager.ShowManager(); }))
        log.Failure("a second start cannot reach this copy: " + channel_->Problem());
    WatchScreens([&] { notes.OnMonitorsChanged(); });

    manager.Start();
    if (notes.Ended()) return kExitOk;  // the session ended during start-up: the event loop never runs
    SettingsWatch watch(settingsPath, [&] { manager.ReloadNotes(); });
    Tray tray({manager, notes});
    notes.WatchLocked([&](bool locked) { tray.ShowLocked(locked); });
    const int code = QApplication::exec();
    notes.WatchLocked(nullptr);
    return code;
}
