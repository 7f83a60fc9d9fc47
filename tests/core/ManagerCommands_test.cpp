#include "ManagerFixture.h"
#include "store/NoteText.h"

namespace {

class ManagerCommands : public ManagerFixture {
protected:
    void StartWithThreeNotes() {
        WriteSettings(Note(0, "zero", "color=255,0,0\nfont=Arial\nfontSize=200\n") + Note(1, "one") +
                      Note(2, "two", "isTopWin=0\n"));
        Start();
    }
};

}  // namespace

TEST_F(ManagerCommands, ConfirmStoresTextAndPendingAppearanceAndSaves) {
    StartWithThreeNotes();
    view.edit = "first\r\nsecond";
    State().m_pendingColor = 0xFF00FF00;
    State().m_pendingFont = "Courier";
    State().m_pendingFontSize = 105;
    manager->ConfirmChanges();

    EXPECT_EQ(Row(0).text, "first*#33#second");
    EXPECT_EQ(view.rows[0].label, "first;second");
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(Window(0).text, "first\r\nsecond");
    EXPECT_EQ(Window(0).emSize, 10.0f);  // 105 tenths draw at 10 pixels
    EXPECT_EQ(FileValue(0, "text"), "first*#33#second");
    EXPECT_EQ(FileValue(0, "color"), "0,255,0");
    EXPECT_EQ(FileValue(0, "fontSize"), "105");
}

TEST_F(ManagerCommands, PickedColourIsAPreviewUntilConfirmed) {
    StartWithThreeNotes();
    pickers.colorAnswers = {0xFF0000FF};
    manager->PickColor();
    EXPECT_EQ(pickers.colorOpenedWith.at(0), 0xFFFF0000u);  // opens on the note's own colour
    EXPECT_EQ(Window(0).fill, 0xFF0000FFu);
    EXPECT_EQ(Row(0).color, 0xFFFF0000u);

    manager->HideManager();  // "取消": the stored colour comes back, nothing is saved
    EXPECT_EQ(Window(0).fill, 0xFFFF0000u);
    EXPECT_EQ(FileValue(0, "color"), "255,0,0");

    pickers.colorAnswers = {0xFF0000FF};
    manager->PickColor();
    view.edit = "zero";
    manager->ConfirmChanges();
    EXPECT_EQ(FileValue(0, "color"), "0,0,255");
}

TEST_F(ManagerCommands, FontPickerOpensOnTheNoteAndKeepsItsColour) {
    StartWithThreeNotes();
    pickers.fontAnswers = {FontChoice{"Courier", 120, 0xFFFF0000}};  // colour box left alone
    manager->PickFont();
    const FontChoice& opened = pickers.fontOpenedWith.at(0);
    EXPECT_EQ(opened.face, "Arial");
    EXPECT_EQ(opened.pointSizeTenths, 200);
    EXPECT_EQ(opened.color, 0xFFFF0000u);
    EXPECT_EQ(Window(0).face, "Courier");
    EXPECT_EQ(Window(0).emSize, 12.0f);

    view.edit = "zero";
    manager->ConfirmChanges();
    EXPECT_EQ(Row(0).color, 0xFFFF0000u);  // not turned black
    EXPECT_EQ(Row(0).font, "Courier");
    EXPECT_EQ(Row(0).fontSize, 120);
}

TEST_F(ManagerCommands, CancelledPickersChangeNothing) {
    StartWithThreeNotes();
    const int draws = Window(0).draws;
    manager->PickColor();
    manager->PickFont();
    EXPECT_EQ(Window(0).draws, draws);
    EXPECT_EQ(State().m_pendingColor, 0xFFFF0000u);
    EXPECT_EQ(State().m_pendingFont, "Arial");
}

TEST_F(ManagerCommands, ListCheckBoxesShowAndHideWithoutSaving) {
    StartWithThreeNotes();
    const std::string before = ReadBytes(SettingsPath());
    manager->OnNoteListClick(1, true, -1);
    EXPECT_FALSE(Window(1).visible);
    EXPECT_FALSE(Row(1).isShow);
    EXPECT_EQ(State().m_shownCount, 2);
    manager->OnNoteListClick(1, true, -1);
    EXPECT_TRUE(Window(1).visible);
    EXPECT_EQ(State().m_shownCount, 3);

    for (int i = 0; i < 3; ++i) manager->OnNoteListClick(i, true, -1);  // all may be hidden
    EXPECT_EQ(State().m_shownCount, 0);
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
    manager->OnNoteListClick(7, true, 7);  // a click on no row
    EXPECT_EQ(State().m_shownCount, 0);
}

TEST_F(ManagerCommands, SelectingARowMakesItCurrent) {
    StartWithThreeNotes();
    manager->OnNoteListClick(2, false, 2);
    EXPECT_EQ(State().m_current, 2);
    EXPECT_EQ(view.selected, 2);
    EXPECT_EQ(view.edit, "two");
    EXPECT_FALSE(view.topMostCheck);
    EXPECT_EQ(State().m_pendingFont, "黑体");
}

TEST_F(ManagerCommands, AddedNoteIsStoredAsCreated) {
    StartWithThreeNotes();
    manager->AddNote();
    ASSERT_EQ(factory.created.size(), 4u);
    EXPECT_EQ(Window(3).className, "text_3");
    EXPECT_EQ(State().table.count(), 4u);
    EXPECT_EQ(FileValue(3, "positionX"), "500");
    EXPECT_EQ(FileValue(3, "width"), "1200");
    EXPECT_EQ(FileValue(3, "height"), "500");
    EXPECT_EQ(FileValue(3, "color"), "0,0,255");
    EXPECT_EQ(FileValue(3, "font"), "黑体");
    EXPECT_EQ(FileValue(3, "isTopWin"), "1");
    EXPECT_EQ(FileValue(3, "isShow"), "1");
    ASSERT_EQ(view.rows.size(), 4u);
    EXPECT_TRUE(view.rows[3].checked);
    EXPECT_EQ(State().m_current, 0);

    manager->OnNoteListClick(3, false, 3);
    manager->DeleteNote();
    manager->AddNote();
    EXPECT_EQ(factory.created.back()->className, "text_4");  // window classes are never reused
}

TEST_F(ManagerCommands, AddPastTheCapacityIsRefused) {
    std::string file;
    for (int i = 0; i < 1024; ++i) file += Note(i, "n");
    WriteSettings(file);
    Start();
    const std::string before = ReadBytes(SettingsPath());
    manager->AddNote();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"便签数量已达上限！"});
    EXPECT_EQ(State().table.count(), 1024u);
    EXPECT_EQ(factory.created.size(), 1024u);
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
}

TEST_F(ManagerCommands, DeleteKeepsRowsWindowsAndListAligned) {
    StartWithThreeNotes();
    manager->OnNoteListClick(1, false, 1);
    manager->DeleteNote();
    EXPECT_TRUE(Window(1).destroyed);
    ASSERT_EQ(State().table.count(), 2u);
    EXPECT_EQ(Row(1).text, "two");
    EXPECT_EQ(manager->WindowOf(1), &Window(2));
    EXPECT_EQ(view.rows[1].label, "two");
    EXPECT_EQ(State().m_current, 0);
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(view.edit, "zero");
    EXPECT_EQ(FileSections().size(), 2u);

    manager->DeleteNote();
    manager->DeleteNote();  // one note left
    EXPECT_EQ(messages.shown, std::vector<std::string>{"请至少保留一个窗口！"});
    EXPECT_EQ(State().table.count(), 1u);
}

TEST_F(ManagerCommands, FailedSaveKeepsTheOldFileAndTellsTheUser) {
    StartWithThreeNotes();
    const std::string before = ReadBytes(SettingsPath());
    std::filesystem::create_directory(std::filesystem::u8path(SettingsPath() + ".tmp"));  // blocks the write
    manager->OnNoteListClick(1, false, 1);
    manager->DeleteNote();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"设置文件保存失败！"});
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
    ASSERT_EQ(State().table.count(), 2u);  // rows still follow the windows
    EXPECT_EQ(Row(1).text, "two");
    EXPECT_EQ(manager->WindowOf(1), &Window(2));
}

TEST_F(ManagerCommands, SectionsBeyondTheCapacityGetAWindowWhenAPlaceFrees) {
    std::string file;
    for (int i = 0; i < 1025; ++i) file += Note(i, "n" + std::to_string(i));
    WriteSettings(file);
    Start();
    manager->DeleteNote();
    ASSERT_EQ(State().table.count(), 1024u);
    EXPECT_EQ(Row(1023).text, "n1024");
    ASSERT_NE(manager->WindowOf(1023), nullptr);
    EXPECT_EQ(static_cast<FakeWindow*>(manager->WindowOf(1023))->text, "n1024");
    EXPECT_EQ(view.rows.size(), 1024u);
}

TEST_F(ManagerCommands, AutoStartAndTopMostAreSavedAtOnce) {
    StartWithThreeNotes();
    view.autoStartCheck = true;
    manager->ApplyAutoStart();
    EXPECT_EQ(autostart.stored, autostart.DesiredRegistration());
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(FileValue(i, "autoStart"), "1");
    view.autoStartCheck = false;
    manager->ApplyAutoStart();
    EXPECT_FALSE(autostart.stored);

    manager->OnNoteListClick(1, false, 1);
    view.topMostCheck = false;
    manager->ApplyTopMost();
    EXPECT_FALSE(Window(1).topMost);
    EXPECT_EQ(FileValue(1, "isTopWin"), "0");
}

TEST_F(ManagerCommands, ExitAndSessionEndSaveMovedNotesAndCloseEverything) {
    StartWithThreeNotes();
    Window(2).MoveTo(40, 50);
    manager->OnQueryEndSession();
    EXPECT_EQ(FileValue(2, "positionX"), "40");
    EXPECT_EQ(FileValue(2, "positionY"), "50");
    for (FakeWindow* window : factory.created) EXPECT_TRUE(window->destroyed);
    EXPECT_EQ(app.quits, 1);
}
