#include "ManagerFixture.h"
#include "quicksettings/QuickSettings.h"

namespace {

class QuickSettingsTest : public ManagerFixture {
protected:
    void SetUp() override {
        WriteSettings(Note(0, "zero", "color=255,0,0\n") +
                      Note(1, "one", "color=0,255,0\nfont=Arial\nfontSize=240\nisTopWin=0\n"));
        Start();
    }
    QuickSettings Open(size_t note) {
        QuickSettings dialog(*dialogs, Window(note));
        initial = dialog.Init();
        return dialog;
    }
    QuickSettings::Initial initial;
};

}  // namespace

TEST_F(QuickSettingsTest, OpensOnItsOwnNote) {
    QuickSettings dialog = Open(1);
    EXPECT_TRUE(initial.valid);
    EXPECT_EQ(dialog.NoteIndex(), 1);
    EXPECT_EQ(initial.text.text, "one");
    EXPECT_FALSE(initial.topMost);
    EXPECT_EQ(dialog.Pending().font, "Arial");
    EXPECT_EQ(presenter->Current(), 0);  // the manager's current note is left alone
    EXPECT_EQ(presenter->Pending().color, 0xFFFF0000u);
}

TEST_F(QuickSettingsTest, OkWithANewTextKeepsTheNotesAppearance) {
    presenter->ShowManager();
    pickers.colorAnswers = {0xFF123456};
    presenter->PickColor();  // a preview pending on note 0 in the manager
    QuickSettings dialog = Open(1);
    EXPECT_TRUE(dialog.Ok("line 1\r\nline 2"));
    EXPECT_EQ(Row(1).text, "line 1*#33#line 2");
    EXPECT_EQ(Row(1).color, 0xFF00FF00u);
    EXPECT_EQ(Row(1).font, "Arial");
    EXPECT_EQ(Row(1).fontSize, 240);
    EXPECT_EQ(view.rows[1].label, "line 1;line 2");
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(FileValue(1, "text"), "line 1*#33#line 2");
}

TEST_F(QuickSettingsTest, HideRefusesTheLastShownNote) {
    QuickSettings first = Open(0);
    EXPECT_TRUE(first.Hide());
    EXPECT_FALSE(Window(0).visible);
    EXPECT_FALSE(view.rows[0].checked);
    EXPECT_EQ(manager->ShownCount(), 1);
    EXPECT_EQ(FileValue(0, "isShow"), "0");

    const std::string before = ReadBytes(SettingsPath());
    QuickSettings last = Open(1);
    EXPECT_TRUE(last.Hide());
    EXPECT_EQ(messages.shown, std::vector<std::string>{"请至少显示一个窗口！"});
    EXPECT_TRUE(Window(1).visible);
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
}

TEST_F(QuickSettingsTest, ColourPreviewIsUndoneByCancelAndKeptByOk) {
    QuickSettings dialog = Open(1);
    pickers.colorAnswers = {0xFFABCDEF};
    EXPECT_FALSE(dialog.ChooseNoteColor());
    EXPECT_EQ(pickers.colorOpenedWith.at(0), 0xFF00FF00u);
    EXPECT_EQ(Window(1).fill(), 0xFFABCDEFu);
    EXPECT_TRUE(dialog.Cancel());
    EXPECT_EQ(Window(1).fill(), 0xFF00FF00u);

    QuickSettings again = Open(1);
    pickers.colorAnswers = {0xFFABCDEF};
    again.ChooseNoteColor();
    again.Ok("one");
    EXPECT_EQ(FileValue(1, "color"), "171,205,239");
}

TEST_F(QuickSettingsTest, ManagerButtonShowsTheManagerOnThisNoteWithThePreview) {
    QuickSettings dialog = Open(1);
    pickers.colorAnswers = {0xFFABCDEF};
    dialog.ChooseNoteColor();
    view.shown = false;
    EXPECT_TRUE(dialog.OpenManager());
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(view.selected, 1);
    EXPECT_EQ(view.edit, "one");
    EXPECT_FALSE(view.topMostCheck);
    EXPECT_EQ(presenter->Current(), 1);
    EXPECT_EQ(Window(1).fill(), 0xFFABCDEFu);
    EXPECT_EQ(presenter->Pending().color, 0xFFABCDEFu);
    presenter->ConfirmChanges("one");  // "确认修改" stores the preview
    EXPECT_EQ(FileValue(1, "color"), "171,205,239");
}

TEST_F(QuickSettingsTest, TopMostAndAutoStartApplyAtOnceAndStayOpen) {
    QuickSettings dialog = Open(1);
    EXPECT_FALSE(dialog.SetTopMost(true));
    EXPECT_TRUE(Row(1).isTopWin);
    EXPECT_TRUE(Window(1).topMost);
    EXPECT_EQ(FileValue(1, "isTopWin"), "1");
    EXPECT_FALSE(dialog.SetAutoStart(true));
    EXPECT_TRUE(view.autoStartCheck);
    EXPECT_EQ(autostart.stored, autostart.DesiredRegistration());
}

TEST_F(QuickSettingsTest, ExitSavesAndEndsTheProgram) {
    QuickSettings dialog = Open(0);
    Window(0).MoveTo(7, 8);
    EXPECT_TRUE(dialog.Exit());
    EXPECT_EQ(FileValue(0, "positionX"), "7");
    EXPECT_TRUE(Window(1).destroyed);
    EXPECT_EQ(app.quits, 1);
}

TEST_F(QuickSettingsTest, WindowWithoutARowTouchesNothing) {
    FakeWindow stranger;
    QuickSettings dialog(*dialogs, stranger);
    EXPECT_FALSE(dialog.Init().valid);
    const std::string before = ReadBytes(SettingsPath());
    EXPECT_TRUE(dialog.Hide());
    EXPECT_TRUE(dialog.ChooseNoteColor());
    EXPECT_TRUE(dialog.SetTopMost(false));
    EXPECT_TRUE(dialog.Ok("x"));
    EXPECT_EQ(presenter->Current(), 0);
    EXPECT_EQ(Row(0).text, "zero");
    EXPECT_TRUE(pickers.colorOpenedWith.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
}

TEST_F(QuickSettingsTest, OneDialogPerNoteAtATime) {
    int runs = 0;
    dialogs->Open(Window(0), [&] {
        ++runs;
        dialogs->Open(Window(0), [&] { ++runs; });  // a second double-click meanwhile
        dialogs->Open(Window(1), [&] { ++runs; });  // another note's dialog may open
    });
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Setting窗口已经打开！"});
    dialogs->Open(Window(0), [&] { ++runs; });
    EXPECT_EQ(runs, 3);
}
