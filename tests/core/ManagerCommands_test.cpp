#include <algorithm>
#include "ManagerFixture.h"
#include "store/NoteText.h"

namespace {

class ManagerCommands : public ManagerFixture {
protected:
    void StartWithThreeNotes() {
        WriteSettings(Note(0, "zero", "color=255,0,0\nfont=Arial\nfontSize=200\n") + Note(1, "one") +
                      Note(2, "two", "isTopWin=0\n"));
        Start();
        presenter->ShowManager();  // the user works in the dialog
    }
};

}  // namespace

TEST_F(ManagerCommands, ConfirmStoresTextAndPendingAppearanceAndSaves) {
    StartWithThreeNotes();
    pickers.fontAnswers = {FontChoice{"Courier", 105, 0xFF00FF00}};
    presenter->PickFont();
    presenter->ConfirmChanges("first\r\nsecond");

    EXPECT_EQ(Row(0).text, "first*#33#second");
    EXPECT_EQ(view.rows[0].label, "first;second");
    EXPECT_FALSE(view.shown);  // the dialog hides
    EXPECT_EQ(Window(0).text(), "first\nsecond");
    EXPECT_EQ(Window(0).look.emSize, 10.0f);  // 105 tenths draw at 10 pixels
    EXPECT_EQ(FileValue(0, "text"), "first*#33#second");
    EXPECT_EQ(FileValue(0, "color"), "0,255,0");
    EXPECT_EQ(FileValue(0, "font"), "Courier");
    EXPECT_EQ(FileValue(0, "fontSize"), "105");
}

TEST_F(ManagerCommands, PickedColourIsAPreviewUntilConfirmed) {
    StartWithThreeNotes();
    pickers.colorAnswers = {0xFF0000FF};
    presenter->PickColor();
    EXPECT_EQ(pickers.colorOpenedWith.at(0), 0xFFFF0000u);  // opens on the note's own colour
    EXPECT_EQ(Window(0).fill(), 0xFF0000FFu);
    EXPECT_EQ(Row(0).color, 0xFFFF0000u);

    presenter->HideManager();  // "取消": the stored colour comes back, nothing is saved
    EXPECT_EQ(Window(0).fill(), 0xFFFF0000u);
    EXPECT_EQ(FileValue(0, "color"), "255,0,0");

    pickers.colorAnswers = {0xFF0000FF};
    presenter->PickColor();
    presenter->ConfirmChanges("zero");
    EXPECT_EQ(FileValue(0, "color"), "0,0,255");
}

TEST_F(ManagerCommands, FontPickerOpensOnTheNoteAndKeepsItsColour) {
    StartWithThreeNotes();
    pickers.fontAnswers = {FontChoice{"Courier", 120, 0xFFFF0000}};  // colour box left alone
    presenter->PickFont();
    const FontChoice& opened = pickers.fontOpenedWith.at(0);
    EXPECT_EQ(opened.face, "Arial");
    EXPECT_EQ(opened.pointSizeTenths, 200);
    EXPECT_EQ(opened.color, 0xFFFF0000u);
    EXPECT_EQ(Window(0).look.face, "Courier");
    EXPECT_EQ(Window(0).look.emSize, 12.0f);

    presenter->ConfirmChanges("zero");
    EXPECT_EQ(Row(0).color, 0xFFFF0000u);  // not turned black
    EXPECT_EQ(Row(0).font, "Courier");
    EXPECT_EQ(Row(0).fontSize, 120);
}

TEST_F(ManagerCommands, CancelledPickersChangeNothing) {
    StartWithThreeNotes();
    const int draws = Window(0).draws;
    presenter->PickColor();
    presenter->PickFont();
    EXPECT_EQ(Window(0).draws, draws);
    EXPECT_EQ(presenter->Pending().color, 0xFFFF0000u);
    EXPECT_EQ(presenter->Pending().font, "Arial");
}

TEST_F(ManagerCommands, ListCheckBoxesShowAndHideWithoutSaving) {
    StartWithThreeNotes();
    const std::string before = ReadBytes(SettingsPath());
    presenter->OnNoteListCheck(1, false);
    EXPECT_FALSE(Window(1).visible);
    EXPECT_FALSE(Row(1).isShow);
    EXPECT_EQ(manager->ShownCount(), 2);
    presenter->OnNoteListCheck(1, true);
    EXPECT_TRUE(Window(1).visible);
    EXPECT_EQ(manager->ShownCount(), 3);

    for (int i = 0; i < 3; ++i) presenter->OnNoteListCheck(i, false);  // all may be hidden
    EXPECT_EQ(manager->ShownCount(), 0);
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
    presenter->OnNoteListCheck(7, true);  // no such row
    EXPECT_EQ(manager->ShownCount(), 0);
}

TEST_F(ManagerCommands, SelectingARowMakesItCurrent) {
    StartWithThreeNotes();
    presenter->SelectNote(2);
    EXPECT_EQ(presenter->Current(), 2);
    EXPECT_EQ(view.selected, 2);
    EXPECT_EQ(view.edit, "two");
    EXPECT_FALSE(view.topMostCheck);
    EXPECT_EQ(presenter->Pending().font, "黑体");

    // Selecting the current note again keeps what the user typed and previewed for it.
    view.edit = "typed, not confirmed";
    pickers.colorAnswers = {0xFF123456};
    presenter->PickColor();
    presenter->SelectNote(2);
    EXPECT_EQ(view.edit, "typed, not confirmed");
    EXPECT_EQ(presenter->Pending().color, 0xFF123456u);
}

TEST_F(ManagerCommands, AddedNoteIsStoredAsCreated) {
    StartWithThreeNotes();
    manager->AddNote();
    ASSERT_EQ(factory.created.size(), 4u);
    EXPECT_EQ(Window(3).className, "text_3");
    EXPECT_EQ(Window(3).rect, (WindowRect{540, 560, 1740, 1060}));  // the notes are at the default place
    EXPECT_TRUE(Window(3).visible);
    EXPECT_EQ(manager->NoteCount(), 4u);
    EXPECT_EQ(FileValue(3, "positionX"), "540");
    EXPECT_EQ(FileValue(3, "width"), "1200");
    EXPECT_EQ(FileValue(3, "height"), "500");
    EXPECT_EQ(FileValue(3, "color"), "0,0,255");
    EXPECT_EQ(FileValue(3, "font"), "黑体");
    EXPECT_EQ(FileValue(3, "isTopWin"), "1");
    EXPECT_EQ(FileValue(3, "isShow"), "1");
    ASSERT_EQ(view.rows.size(), 4u);
    EXPECT_TRUE(view.rows[3].checked);
    EXPECT_EQ(presenter->Current(), 0);

    presenter->SelectNote(3);
    presenter->DeleteNote();
    manager->AddNote();
    EXPECT_EQ(factory.created.back()->className, "text_4");  // window classes are never reused
}

bool TextsMeet(const WindowRect& a, const WindowRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// A new note goes to the default place, or a step on from the newest, and then below any text it would print
// over; the manager shows it with its text ready for typing.
TEST_F(ManagerCommands, NewNotesNeverPrintOverAnotherAndAreReadyForTypingInTheManager) {
    WriteSettings(Note(0, "elsewhere", "positionX=100\npositionY=100\n"));
    Start();
    const auto add = [&] {
        presenter->AddNote();
        const int row = int(manager->NoteCount()) - 1;
        EXPECT_TRUE(view.shown);
        EXPECT_EQ(view.selected, row);
        EXPECT_EQ(view.readyForTyping, row);
        EXPECT_NE(view.edit.find("Skyslate2"), std::string::npos);  // the new note's text
        for (int other = 0; other < row; ++other)
            EXPECT_FALSE(TextsMeet(*Window(row).TextBounds(), *Window(other).TextBounds())) << row << " over " << other;
        return Window(row).rect;
    };
    EXPECT_EQ(add().left, 500);  // the default place is free
    const WindowRect second = add();
    EXPECT_EQ(second.left, 540);  // a step on from the newest, below its text
    EXPECT_GT(second.top, 560);
    add();

    // The user drags notes to the monitor's bottom right: with no room below them or to their right, the new
    // note goes to the first column of the monitor that is free.
    Window(3).MoveTo(900, 900);
    Window(2).MoveTo(940, 960);
    EXPECT_EQ(add().left, 0);
}

TEST_F(ManagerCommands, AddPastTheCapacityIsRefused) {
    std::string file;
    for (int i = 0; i < 1024; ++i) file += Note(i, "n");
    WriteSettings(file);
    Start();
    const std::string before = ReadBytes(SettingsPath());
    manager->AddNote();
    EXPECT_EQ(messages.shown, std::vector<std::string>{"便签数量已达上限！"});
    EXPECT_EQ(manager->NoteCount(), 1024u);
    EXPECT_EQ(factory.created.size(), 1024u);
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
}

TEST_F(ManagerCommands, DeleteKeepsRowsWindowsAndListAligned) {
    StartWithThreeNotes();
    presenter->SelectNote(1);
    presenter->DeleteNote();
    EXPECT_TRUE(Window(1).destroyed);
    ASSERT_EQ(manager->NoteCount(), 2u);
    EXPECT_EQ(Row(1).text, "two");
    EXPECT_EQ(manager->WindowOf(1), &Window(2));
    EXPECT_EQ(view.rows[1].label, "two");
    EXPECT_EQ(presenter->Current(), 0);
    EXPECT_EQ(view.selected, 0);
    EXPECT_EQ(view.edit, "zero");
    EXPECT_EQ(FileSections().size(), 2u);

    presenter->DeleteNote();
    presenter->DeleteNote();  // one note left
    EXPECT_EQ(messages.shown, std::vector<std::string>{"请至少保留一个窗口！"});
    EXPECT_EQ(manager->NoteCount(), 1u);
}

TEST_F(ManagerCommands, FailedSaveKeepsTheOldFileAndTellsTheUser) {
    StartWithThreeNotes();
    const std::string before = ReadBytes(SettingsPath());
    {
        FolderAway away(folder.Path());  // nothing can be written there now
        presenter->SelectNote(1);
        presenter->DeleteNote();
        EXPECT_EQ(messages.shown, std::vector<std::string>{"设置文件保存失败！"});
        EXPECT_EQ(ReadBytes(away.File(kSettingsFileName)), before);
        EXPECT_EQ(std::count_if(log.lines.begin(), log.lines.end(),
                                [](const std::string& line) { return line.rfind("settings not saved", 0) == 0; }),
                  1);
    }
    ASSERT_EQ(manager->NoteCount(), 2u);  // rows still follow the windows
    EXPECT_EQ(Row(1).text, "two");
    EXPECT_EQ(manager->WindowOf(1), &Window(2));
    EXPECT_EQ(view.rows[1].label, "two");
}

TEST_F(ManagerCommands, BeyondTheCapacityEveryNoteIsKeptAndNoWindowTooMany) {
    std::string file;
    for (int i = 0; i < 1030; ++i) file += Note(i, "n" + std::to_string(i));
    WriteSettings(file);
    Start();
    ASSERT_EQ(factory.created.size(), 1024u);
    presenter->SelectNote(1021);
    presenter->DeleteNote();
    // All 1024 windows of this run are taken: the sections beyond stay in the file, not in the list.
    EXPECT_EQ(factory.created.size(), 1024u);
    ASSERT_EQ(manager->NoteCount(), 1023u);
    ASSERT_EQ(view.rows.size(), 1023u);
    for (int row : {1020, 1021, 1022}) EXPECT_EQ(view.rows[size_t(row)].label, Row(row).text);
    EXPECT_EQ(Row(1022).text, "n1023");
    const IniDocument sections = FileSections();
    ASSERT_EQ(sections.size(), 1029u);
    EXPECT_EQ(FileValue(1028, "text"), "n1029");

    // The next run takes the freed place.
    Start();
    ASSERT_EQ(manager->NoteCount(), 1024u);
    EXPECT_EQ(Row(1023).text, "n1024");
    EXPECT_EQ(WindowOfRow(1023)->text(), "n1024");
}

// With every window of the run used, a note another writer adds is listed and kept, and the user is told
// once that it shows after a restart.
TEST_F(ManagerCommands, ANoteBeyondTheRunsWindowsIsReportedNeverSilentlyAbsent) {
    std::string file;
    for (int i = 0; i < 1024; ++i) file += Note(i, "n" + std::to_string(i));
    WriteSettings(file);
    Start();
    presenter->SelectNote(5);
    presenter->DeleteNote();
    for (const char* added : {"added there", "and another"}) {
        NoteState file;
        LoadSettingsFromText(file, DecodeSettingsBytes(ReadBytes(SettingsPath())));
        file.table.rows.push_back(FirstRunNote());
        file.table.rows.back().text = added;
        ASSERT_TRUE(WriteFileAtomically(SettingsPath(), EncodeSettingsText(SerializeSettings(file))));
        presenter->ReloadNotes();
    }
    EXPECT_EQ(factory.created.size(), 1024u);
    ASSERT_EQ(view.rows.size(), 1024u);
    EXPECT_EQ(view.rows.back().label, "added there");
    EXPECT_EQ(manager->WindowOf(1023), nullptr);
    EXPECT_EQ(messages.shown, std::vector<std::string>{text::kWindowsUsedUp});
    EXPECT_TRUE(log.Has("no window for a note"));
}

TEST_F(ManagerCommands, AutoStartAndTopMostAreSavedAtOnce) {
    StartWithThreeNotes();
    manager->ApplyAutoStart(true);
    EXPECT_EQ(autostart.stored, autostart.DesiredRegistration());
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(FileValue(i, "autoStart"), "1");
    manager->ApplyAutoStart(false);
    EXPECT_FALSE(autostart.stored);

    presenter->SelectNote(1);
    presenter->ApplyTopMost(false);
    EXPECT_FALSE(Window(1).topMost);
    EXPECT_EQ(FileValue(1, "isTopWin"), "0");
}

TEST_F(ManagerCommands, ExitAndSessionEndSaveMovedNotesAndCloseEverything) {
    StartWithThreeNotes();
    Window(2).MoveTo(40, 50);
    manager->EndSession();
    EXPECT_EQ(FileValue(2, "positionX"), "40");
    EXPECT_EQ(FileValue(2, "positionY"), "50");
    for (FakeWindow* window : factory.created) EXPECT_TRUE(window->destroyed);
    EXPECT_EQ(app.quits, 1);
}

TEST_F(ManagerCommands, EscapeHidesTheManagerAndEnterDoesNothing) {
    StartWithThreeNotes();
    pickers.colorAnswers = {0xFF0000FF};
    presenter->PickColor();
    view.shown = true;
    presenter->OnManagerKey(ManagerKey::Enter);
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(Window(0).fill(), 0xFF0000FFu);
    presenter->OnManagerKey(ManagerKey::Escape);
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(Window(0).fill(), 0xFFFF0000u);  // like "取消": the preview is dropped
    EXPECT_EQ(app.quits, 0);
}

TEST_F(ManagerCommands, TrayShowsAllNotesAndLocksThemAcrossRuns) {
    WriteSettings(Note(0, "zero") + Note(1, "one", "isShow=0\n"));
    Start();
    manager->ShowAllNotes();
    EXPECT_TRUE(Window(1).visible);
    EXPECT_EQ(Window(1).text(), "one");
    EXPECT_TRUE(view.rows[1].checked);

    manager->SetLocked(true);
    for (FakeWindow* window : factory.created) EXPECT_TRUE(window->locked);
    EXPECT_EQ(FileValue(0, "locked"), "1");
    EXPECT_EQ(FileValue(0, "isShow"), "1");
    ASSERT_EQ(FileSections()[0].entries.size(), 14u);  // the lock and the note's identity, never a section more
    ASSERT_EQ(FileSections().size(), 2u);

    Start();  // the next run
    EXPECT_TRUE(manager->Locked());
    EXPECT_TRUE(factory.created.back()->locked);
    manager->SetLocked(false);
    EXPECT_FALSE(factory.created.back()->locked);
    EXPECT_EQ(FileValue(0, "locked"), "<missing>");
    EXPECT_EQ(FileSections()[0].entries.size(), 13u);  // the identity stays
}

TEST_F(ManagerCommands, NotesLeftOffScreenByAMonitorChangeComeBack) {
    screens.monitors = {{{0, 0, 1600, 1000}, {0, 0, 1600, 960}}, {{1600, 0, 3200, 1000}, {1600, 0, 3200, 1000}}};
    WriteSettings(Note(0, "left", "positionX=100\npositionY=100\nwidth=400\nheight=200\n") +
                  Note(1, "right", "positionX=2000\npositionY=100\nwidth=400\nheight=200\n") +
                  Note(2, "far", "positionX=5000\npositionY=5000\nwidth=400\nheight=200\n"));
    Start();
    EXPECT_EQ(Window(2).rect, (WindowRect{2800, 800, 3200, 1000}));  // brought on at start-up already
    screens.monitors.pop_back();  // the right monitor is unplugged
    manager->OnMonitorsChanged();
    EXPECT_EQ(Window(0).rect, (WindowRect{100, 100, 500, 300}));
    EXPECT_EQ(Window(1).rect, (WindowRect{1200, 100, 1600, 300}));
    manager->SyncNotes();
    manager->SaveSettings();
    EXPECT_EQ(FileValue(1, "positionX"), "2000");  // the stored place stays for when the monitor returns
    EXPECT_EQ(FileValue(2, "positionX"), "5000");
}
