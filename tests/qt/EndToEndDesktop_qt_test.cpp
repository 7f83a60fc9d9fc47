// The program on the desktop around it: monitors, display scaling and the system tray.
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QScreen>

#include <tuple>

#include "EndToEndFixture.h"

namespace {

xcb_connection_t* Connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// A window's place on the root window, in the X server's (physical) pixels.
QRect RootGeometry(uint32_t window) {
    auto* geometry = xcb_get_geometry_reply(Connection(), xcb_get_geometry(Connection(), window), nullptr);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(Connection())).data->root;
    auto* translated = xcb_translate_coordinates_reply(
        Connection(), xcb_translate_coordinates(Connection(), window, root, 0, 0), nullptr);
    QRect rect;
    if (geometry && translated) rect = QRect(translated->dst_x, translated->dst_y, geometry->width, geometry->height);
    free(geometry);
    free(translated);
    return rect;
}

// Where a window shows and takes the mouse: its bounding shape within its input shape.
QRegion PaintedRegion(uint32_t window) {
    QRegion painted(0, 0, 30000, 30000);
    for (xcb_shape_kind_t kind : {XCB_SHAPE_SK_BOUNDING, XCB_SHAPE_SK_INPUT}) {
        auto* reply = xcb_shape_get_rectangles_reply(Connection(), xcb_shape_get_rectangles(Connection(), window, kind),
                                                     nullptr);
        QRegion shape;
        const xcb_rectangle_t* rects = reply ? xcb_shape_get_rectangles_rectangles(reply) : nullptr;
        for (int i = 0; reply && i < xcb_shape_get_rectangles_rectangles_length(reply); ++i)
            shape |= QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
        free(reply);
        painted &= shape;
    }
    return painted;
}

bool SelectionOwned(const char* name) {
    auto* atom = xcb_intern_atom_reply(Connection(), xcb_intern_atom(Connection(), 0, uint16_t(strlen(name)), name),
                                       nullptr);
    if (!atom) return false;
    auto* owner = xcb_get_selection_owner_reply(Connection(), xcb_get_selection_owner(Connection(), atom->atom),
                                                nullptr);
    const bool owned = owner && owner->owner != XCB_NONE;
    free(atom);
    free(owner);
    return owned;
}

}  // namespace

TEST_F(EndToEndQt, ANoteLeftOffEveryMonitorComesBackOnScreen) {
    WriteBytes(SettingsPath(), BlockNote(0, 5000, 5000));
    RunningProgram program = Start();
    const auto note = program.WaitForRole("text_0");
    ASSERT_TRUE(note);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();  // 1600 x 1000 in ./test
    EXPECT_TRUE(screen.contains(note->geometry)) << note->geometry.x() << "," << note->geometry.y();
    EXPECT_TRUE(program.Terminate());
    EXPECT_EQ(FileValue(0, "positionX"), "5000");  // the stored place stays, for the monitor it was on
}

// At 150 % and 200 % a note's box and text are that much larger; its place stays in physical pixels, and the
// file keeps what it holds at 100 %.
TEST_F(EndToEndQt, OnAScaledDesktopNotesGrowWithTheScaleAndTheFileKeepsTheirHundredPercentSizes) {
    const std::vector<std::tuple<const char*, QSize, int>> scales = {{"1", {401, 200}, 80}, {"1.5", {602, 300}, 120},
                                                                     {"2", {802, 400}, 160}};
    for (const auto& [factor, size, em] : scales) {
        WriteBytes(SettingsPath(), "[Text_0]\npositionX=101\npositionY=100\nwidth=401\nheight=200\ncolor=0,128,255\n"
                                   "font=DejaVu Sans\nfontSize=800\ntext=\xE2\x96\x88\n");
        RunningProgram program = Start(-1, {{"QT_SCALE_FACTOR", factor}});
        const auto note = program.WaitForRole("text_0");
        ASSERT_TRUE(note);
        EXPECT_EQ(RootGeometry(note->id), QRect(QPoint(101, 100), size)) << factor;  // odd numbers too
        // One block at an em size of 80 pixels times the scale.
        const QRect block = PaintedRegion(note->id).boundingRect();
        EXPECT_GT(block.height(), em * 5 / 8) << factor;
        EXPECT_LT(block.height(), em * 11 / 8) << factor;
        Drag({140, 150}, {150, 80});
        QThread::msleep(400);
        EXPECT_TRUE(program.Terminate());
        EXPECT_EQ(FileValue(0, "positionX"), "251") << factor;  // moved 150 physical pixels
        EXPECT_EQ(FileValue(0, "positionY"), "180") << factor;
        EXPECT_EQ(FileValue(0, "width"), "401") << factor;  // not halved, not doubled
        EXPECT_EQ(FileValue(0, "fontSize"), "800") << factor;
    }
}

namespace {

// A system tray on the desktop for the scope: trayer, at the top right.
class TrayHost {
public:
    TrayHost() {
        process_.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                                  "--heighttype", "pixel", "--height", "32"});
    }
    ~TrayHost() {
        process_.terminate();
        process_.waitForFinished(3000);
    }
    bool Ready() { return process_.waitForStarted(5000) && WaitFor([] { return SelectionOwned("_NET_SYSTEM_TRAY_S0"); }); }

private:
    QProcess process_;
};

// A menu takes the keyboard as it shows, and on a busy desktop a key can come before that: what the keys
// choose is tried again, from a closed menu, until it has happened.
bool ChooseFromTrayMenu(RunningProgram& program, QPoint icon, const QStringList& keys,
                        const std::function<bool()>& happened) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        Xdotool({"mousemove", QString::number(icon.x()), QString::number(icon.y()), "click", "3"});
        if (WaitFor([&] { return program.MenuShown(); })) {
            QThread::msleep(300);
            Keys(keys);
        }
        if (WaitFor(happened, 3000)) return true;
        if (program.MenuShown()) Keys({"Escape"});
        if (program.MenuShown()) Keys({"Escape"});
    }
    return false;
}

}  // namespace

// Padlock yellow in the icon: the locked notes' icon.
bool ShowsPadlock(QRect icon) {
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0, icon.x(), icon.y(), icon.width(),
                                                                      icon.height()).toImage();
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            if (pixel.red() > 200 && pixel.green() > 150 && pixel.blue() < 90) return true;
        }
    return false;
}

// At login the program often starts before the panel: the icon docks when the tray comes, and again when
// it restarts.
TEST_F(EndToEndQt, TheTrayIconComesWithALateTrayOpensTheManagerAndItsMenuLocksTheNotesAndExits) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 300));
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0"));
    QThread::msleep(1000);
    std::optional<RunningProgram::Window> icon;
    for (int start = 0; start < 2; ++start) {  // started after the program, then restarted
        TrayHost tray;
        ASSERT_TRUE(tray.Ready());
        ASSERT_TRUE(WaitFor([&] { return (icon = program.FindEmbedded()).has_value(); })) << "start " << start;
        if (start == 1) break;
    }
    TrayHost tray;  // the tray of the rest of the test
    ASSERT_TRUE(tray.Ready());
    ASSERT_TRUE(WaitFor([&] { return (icon = program.FindEmbedded()).has_value(); }));
    const QPoint centre = RootGeometry(icon->id).center();
    EXPECT_FALSE(ShowsPadlock(RootGeometry(icon->id)));

    DoubleClick(centre);
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("SettingManager"); }));
    Keys({"Escape"});
    ASSERT_TRUE(WaitFor([&] { return !program.ViewableTitle("SettingManager"); }));

    ASSERT_TRUE(ChooseFromTrayMenu(program, centre, {"Down", "Down", "Down", "Down", "Down", "Return"},  // 锁定便签
                                   [&] { return FileValue(0, "locked") == "1"; }));
    ASSERT_TRUE(WaitFor([&] { return PaintedRegion(program.FindByRole("text_0")->id).isEmpty(); }));
    EXPECT_TRUE(WaitFor([&] { return ShowsPadlock(RootGeometry(program.FindEmbedded()->id)); }));

    ASSERT_TRUE(ChooseFromTrayMenu(program, centre, {"Down", "Down", "Down", "Down", "Down", "Down", "Return"},  // 帮助
                                   [&] { return program.ViewableTitle("Skyslate2 Help"); }));
    Keys({"Return"});
    EXPECT_TRUE(ChooseFromTrayMenu(program, centre, {"Up", "Return"},  // 退出程序, the last item
                                   [&] { return program.Exited(100); }));
    EXPECT_EQ(program.ExitCode(), 0);
}

namespace {

// A session bus of the test's own, for a StatusNotifierItem watcher and the program.
class SessionBus {
public:
    SessionBus() { daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"}); }
    ~SessionBus() {
        daemon_.terminate();
        daemon_.waitForFinished(3000);
    }
    std::string Address() {
        while (address_.isEmpty() && daemon_.waitForReadyRead(5000)) address_ += daemon_.readAllStandardOutput();
        return address_.trimmed().toStdString();
    }

private:
    QProcess daemon_;
    QByteArray address_;
};

}  // namespace

// On Wayland desktops the tray is a StatusNotifierItem host, and at login it may start after the program.
TEST_F(EndToEndQt, TheTrayIconRegistersWithAStatusNotifierHostThatStartsLaterAndAgainWhenItRestarts) {
    SessionBus bus;
    const std::string address = bus.Address();
    ASSERT_FALSE(address.empty());
    WriteBytes(SettingsPath(), BlockNote(0, 100, 300));
    RunningProgram program = Start(-1, {{"DBUS_SESSION_BUS_ADDRESS", address}});
    ASSERT_TRUE(program.WaitForRole("text_0"));
    QThread::msleep(1000);
    for (int start = 0; start < 2; ++start) {
        QProcess watcher;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString(address));
        watcher.setProcessEnvironment(environment);
        watcher.start(FAKE_STATUS_NOTIFIER_WATCHER);
        QByteArray registered;
        EXPECT_TRUE(WaitFor([&] {
            watcher.waitForReadyRead(100);
            registered += watcher.readAllStandardOutput();
            return !registered.trimmed().isEmpty();  // the service of the item, as Qt names it
        })) << "start " << start;
        watcher.terminate();
        watcher.waitForFinished(3000);
    }
    EXPECT_FALSE(program.FindEmbedded());
    EXPECT_TRUE(program.Terminate());
}

// A note deleted in an earlier run comes back from the tray's 恢复删除的便签, where it was.
TEST_F(EndToEndQt, ADeletedNoteComesBackFromTheTray) {
    TrayHost tray;
    ASSERT_TRUE(tray.Ready());
    WriteBytes(SettingsPath(), BlockNote(0, 100, 300));
    WriteBytes(folder.File("TextSetting.deleted.ini"),
               "; coding: utf-8\n" + BlockNote(0, 500, 420, "isShow=0\nnoteId=0123456789abcdef\n", "gone") +
                   "deletedAt=2026-12-08 09:30\n");
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0"));
    std::optional<RunningProgram::Window> icon;
    ASSERT_TRUE(WaitFor([&] { return (icon = program.FindEmbedded()).has_value(); }));
    ASSERT_TRUE(ChooseFromTrayMenu(program, RootGeometry(icon->id).center(),
                                   {"Down", "Down", "Down", "Down", "Right", "Return"},
                                   [&] { return program.ViewableRole("text_1"); }));
    EXPECT_EQ(program.FindByRole("text_1")->geometry.topLeft(), QPoint(500, 420));
    EXPECT_EQ(FileValue(1, "text"), "gone");
    EXPECT_EQ(FileValue(1, "noteId"), "0123456789abcdef");
    EXPECT_EQ(ReadBytes(folder.File("TextSetting.deleted.ini")), "; coding: utf-8\n");
    EXPECT_TRUE(program.Terminate());
}

TEST_F(EndToEndQt, NotesShowOnEveryWorkspace) {
    if (!SelectionOwned("WM_S0")) GTEST_SKIP() << "no window manager: there are no workspaces";
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100));
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0"));
    Xdotool({"set_num_desktops", "2"});
    Xdotool({"set_desktop", "1"});
    EXPECT_FALSE(WaitFor([&] { return !program.ViewableRole("text_0"); }, 1000));
    Xdotool({"set_desktop", "0"});
    EXPECT_TRUE(program.Terminate());
}

// 增加便签 on the welcome note: each new note, with the welcome's two lines, prints over no other, and what
// the user types at once is its text.
TEST_F(EndToEndQt, AddedNotesPrintOverNoOtherAndTakeWhatIsTypedAtOnce) {
    constexpr int kManagerEditToAdd = 8;  // 确认修改, 选择颜色, 选择字体, 开机自启, 关闭, the list, 取消, 增加便签
    RunningProgram program = Start();  // the first run: the welcome note
    ASSERT_TRUE(program.WaitForRole("text_0"));
    const auto paintedOnRoot = [&](int note) {
        const auto window = program.FindByRole(QString("text_%1").arg(note));
        return window ? PaintedRegion(window->id).translated(RootGeometry(window->id).topLeft()) : QRegion();
    };
    for (int added = 1; added <= 2; ++added) {
        RunningProgram second = Start();  // brings the manager forward, on its edit
        ASSERT_TRUE(second.Exited(10000));
        ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("SettingManager"); }));
        QThread::msleep(300);
        Keys(Repeat("Tab", kManagerEditToAdd) << "space");
        ASSERT_TRUE(WaitFor([&] { return program.ViewableRole(QString("text_%1").arg(added)); }));
        QThread::msleep(300);
        const QRegion fresh = paintedOnRoot(added);
        ASSERT_FALSE(fresh.isEmpty());
        for (int other = 0; other < added; ++other) EXPECT_FALSE(fresh.intersects(paintedOnRoot(other))) << added;
        Xdotool({"type", QString("typed%1").arg(added)});
        Keys({"Tab", "space"});  // 确认修改
        ASSERT_TRUE(WaitFor([&] { return FileValue(size_t(added), "text") == "typed" + std::to_string(added); }));
    }
    EXPECT_TRUE(program.Terminate());
}
