// Sequences in which a command once acted on another note than the user's, done as a user does them.
#include <xcb/shape.h>

#include <QGuiApplication>
#include <QRegion>

#include "EndToEndFixture.h"

namespace {

// Keyboard paths through the dialogs, in their tab order.
const int kQuickSettingsOkToManager = 6;  // 确定, 隐藏, 选择颜色, 选择字体, 开机自启, 退出程序, 管理界面
const int kQuickSettingsOkToTopMost = 8;  // ... 管理界面, the text, 窗口置顶
const int kManagerEditToList = 6;         // 确认修改, 选择颜色, 选择字体, 开机自启, 关闭, the list
const int kManagerEditToDelete = 9;       // ... the list, 取消, 增加便签, 删除便签

// Opens the manager through a note's quick settings, on that note.
void OpenManagerFrom(RunningProgram& program, QPoint onNote) {
    DoubleClick(onNote);
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("Setting"); }));
    QThread::msleep(200);
    Keys(Repeat("Tab", kQuickSettingsOkToManager) << "space");
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("SettingManager") && !program.ViewableTitle("Setting"); }));
    QThread::msleep(200);
}

// How wide the painted part of a note window is: where it takes the mouse, within its shape.
int PaintedWidth(uint32_t window) {
    xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    QRegion painted(0, 0, 30000, 30000);
    for (xcb_shape_kind_t kind : {XCB_SHAPE_SK_BOUNDING, XCB_SHAPE_SK_INPUT}) {
        auto* reply = xcb_shape_get_rectangles_reply(connection, xcb_shape_get_rectangles(connection, window, kind),
                                                     nullptr);
        if (!reply) return -1;
        QRegion shape;
        const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(reply);
        for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply); ++i)
            shape |= QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
        free(reply);
        painted &= shape;
    }
    return painted.boundingRect().width();
}

// Where a window lies in the stacking order: the place among the root's children of the window itself or
// of the window manager's frame around it (higher is nearer the user).
int StackingPlace(uint32_t window) {
    xcb_connection_t* connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    for (;;) {
        auto* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
        if (!tree) return -1;
        const xcb_window_t parent = tree->parent;
        free(tree);
        if (parent == root || parent == XCB_NONE) break;
        window = parent;
    }
    auto* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr);
    int place = -1;
    const xcb_window_t* children = tree ? xcb_query_tree_children(tree) : nullptr;
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree); ++i)
        if (children[i] == window) place = i;
    free(tree);
    return place;
}

bool Above(const RunningProgram& program, const QString& dialogTitle, const QString& noteRole) {
    const auto dialog = program.FindByTitle(dialogTitle);
    const auto note = program.FindByRole(noteRole);
    return dialog && note && StackingPlace(dialog->id) > StackingPlace(note->id);
}

}  // namespace

TEST_F(EndToEndQt, TheDialogsStayAboveTheNotesEvenWhenANoteComesUpMeanwhile) {
    // Notes lie across the middle of the screen, where the dialogs open.
    WriteBytes(SettingsPath(), BlockNote(0, 550, 380) + BlockNote(1, 650, 480, "isShow=0\n"));
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0"));
    DoubleClick({550 + 12, 380 + 50});
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("Setting"); }));
    QThread::msleep(300);
    EXPECT_TRUE(Above(program, "Setting", "text_0"));
    Keys(Repeat("Tab", kQuickSettingsOkToManager) << "space");
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("SettingManager"); }));
    QThread::msleep(300);
    EXPECT_TRUE(Above(program, "SettingManager", "text_0"));

    Keys(Repeat("Tab", kManagerEditToList) << "Down" << "space");  // shows note 1
    ASSERT_TRUE(WaitFor([&] { return program.ViewableRole("text_1"); }));
    QThread::msleep(300);
    EXPECT_TRUE(Above(program, "SettingManager", "text_1"));
    EXPECT_TRUE(Above(program, "SettingManager", "text_0"));

    Keys({"Tab", "Tab", "space"});  // 增加便签: a window made after the dialog
    ASSERT_TRUE(WaitFor([&] { return program.ViewableRole("text_2"); }));
    QThread::msleep(300);
    EXPECT_TRUE(Above(program, "SettingManager", "text_2"));
    EXPECT_TRUE(program.Terminate());
}

TEST_F(EndToEndQt, AHiddenNoteEditedInTheManagerComesBackWithItsNewText) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 100, 500, "isShow=0\n", "I"));
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0"));
    OpenManagerFrom(program, {150, 150});
    Keys(Repeat("Tab", kManagerEditToList) << "Down");  // note 1 becomes current
    QThread::msleep(200);
    Keys(Repeat("shift+Tab", kManagerEditToList) << "ctrl+a");
    Xdotool({"type", "HHHHH"});
    Keys({"Tab", "space"});  // 确认修改
    ASSERT_TRUE(WaitFor([&] { return FileValue(1, "text") == "HHHHH"; }));
    EXPECT_FALSE(program.ViewableRole("text_1"));

    OpenManagerFrom(program, {150, 150});
    Keys(Repeat("Tab", kManagerEditToList) << "Down" << "space");  // tick note 1
    ASSERT_TRUE(WaitFor([&] { return program.ViewableRole("text_1"); }));
    QThread::msleep(300);
    EXPECT_GT(PaintedWidth(program.FindByRole("text_1")->id), 200);  // five letters, not the old one
    Keys({"Escape"});
    ASSERT_TRUE(WaitFor([&] { return !program.ViewableTitle("SettingManager"); }));

    DoubleClick({100 + 12, 500 + 50});  // on the first letter's stem
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("Setting"); }));
    QThread::msleep(200);
    Keys({"Return"});  // 确定 with the text the dialog opened on
    ASSERT_TRUE(WaitFor([&] { return !program.ViewableTitle("Setting"); }));
    EXPECT_TRUE(program.Terminate());
    EXPECT_EQ(FileValue(1, "text"), "HHHHH");
    EXPECT_EQ(FileValue(1, "isShow"), "1");
}

TEST_F(EndToEndQt, AnotherNotesQuickSettingsLeaveTheManagersNoteCurrent) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 100, 350) + BlockNote(2, 100, 600));
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_2"));
    OpenManagerFrom(program, {150, 150});  // the manager on note 0

    DoubleClick({150, 650});  // note 2's quick settings
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("Setting"); }));
    QThread::msleep(200);
    Keys(Repeat("Tab", kQuickSettingsOkToTopMost) << "space");  // 窗口置顶 off for note 2, saved at once
    ASSERT_TRUE(WaitFor([&] { return FileValue(2, "isTopWin") == "0"; }));
    Keys({"Escape"});
    ASSERT_TRUE(WaitFor([&] { return !program.ViewableTitle("Setting"); }));
    QThread::msleep(300);

    const QRect manager = program.FindByTitle("SettingManager")->geometry;
    Xdotool({"mousemove", QString::number(manager.x() + manager.width() * 7 / 10),
             QString::number(manager.y() + manager.height() * 4 / 10), "click", "1"});  // into its text
    QThread::msleep(200);
    Keys(Repeat("Tab", kManagerEditToDelete) << "space");  // 删除便签
    ASSERT_TRUE(WaitFor([&] { return FileValue(2, "positionY") == "<no section>"; }));
    EXPECT_EQ(FileValue(0, "positionY"), "350");  // note 0 went; notes 1 and 2 stay
    EXPECT_EQ(FileValue(1, "positionY"), "600");
    EXPECT_EQ(FileValue(1, "isTopWin"), "0");
    EXPECT_TRUE(program.Terminate());
}

// A face this machine lacks (the Windows 黑体) draws with a stand-in: the font dialog opens on the stand-in,
// and OK without a change keeps the note's own face and size.
TEST_F(EndToEndQt, TheFontDialogsOkWithoutAChangeKeepsTheNotesFaceAndSize) {
    WriteBytes(SettingsPath(), "[Text_0]\nisShow=1\npositionX=100\npositionY=100\nwidth=600\nheight=200\n"
                               "color=0,128,255\nfont=黑体\nfontSize=370\ntext=\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88\n");
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0"));
    DoubleClick({130, 130});
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("Setting"); }));
    QThread::msleep(300);
    Keys(Repeat("Tab", 3) << "space");  // 选择字体
    ASSERT_TRUE(WaitFor([&] { return program.ViewableTitle("Select Font"); }));
    QThread::msleep(500);
    Keys({"Return"});
    ASSERT_TRUE(WaitFor([&] { return !program.ViewableTitle("Select Font"); }));
    QThread::msleep(300);
    Xdotool({"search", "--name", "^Setting$", "windowfocus"});  // no window manager gives it back the keyboard
    QThread::msleep(300);
    Keys(Repeat("shift+Tab", 3) << "space");  // from 选择字体 to 确定
    ASSERT_TRUE(WaitFor([&] { return !program.ViewableTitle("Setting"); }));
    EXPECT_TRUE(WaitFor([&] { return ReadBytes(SettingsPath()).rfind("; coding: utf-8", 0) == 0; }));  // saved
    EXPECT_TRUE(program.Terminate());
    EXPECT_EQ(FileValue(0, "font"), "黑体");
    EXPECT_EQ(FileValue(0, "fontSize"), "370");
}
