#include <filesystem>
#include <fstream>
#include <functional>

#include "ManagerFixture.h"
#include "manager/Tray.h"
#include "store/DeletedNotes.h"
#include "store/FileIO.h"
#include "store/SharedFiles.h"

// The notes file shared with other writers: what they save reaches the notes, and a save here never
// writes over it; deleted notes come back.

namespace fs = std::filesystem;

// Another machine's copy of the program, on its own copy of the notes file.
struct Laptop : FakeFrontEnd {
    explicit Laptop(const std::string& settingsFrom) {
        WriteBytes(path, ReadBytes(settingsFrom));
        factory.onUserPlaced = [this](NoteWindow& window, const WindowRect& rect) { notes.OnUserPlaced(window, rect); };
        manager.Start();
    }
    TempFolder folder;
    std::string path = folder.File(kSettingsFileName);
    NoteManager notes{view, Services(path)};
    ManagerPresenter manager{view, notes};
};

class SharedNotes : public ManagerFixture {
protected:
    // Another writer (the other front end, another machine through a sync tool) changes the file.
    void OtherWriter(const std::function<void(NoteState&)>& change, const std::string& path = "") {
        NoteState state;
        LoadSettingsFromText(state, DecodeSettingsBytes(ReadBytes(SettingsPath())));
        change(state);
        ASSERT_TRUE(WriteFileAtomically(path.empty() ? SettingsPath() : path, SerializeSettings(state)));
    }

    NoteState FileNotes() const {
        NoteState state;
        LoadSettingsFromText(state, DecodeSettingsBytes(ReadBytes(SettingsPath())));
        return state;
    }

    std::vector<std::string> FileTexts() const {
        std::vector<std::string> texts;
        for (const NoteRecord& row : FileNotes().table.rows) texts.push_back(row.text);
        return texts;
    }

    std::vector<std::string> Labels() const {
        std::vector<std::string> labels;
        for (const auto& row : view.rows) labels.push_back(row.label);
        return labels;
    }

    // A sync tool found this file and another machine's version changed at once, kept the other one and set
    // this one aside as a conflict copy.
    void SyncToolKeeps(const std::string& otherPath, const std::string& copyName) {
        fs::rename(fs::u8path(SettingsPath()), fs::u8path(folder.File(copyName)));
        WriteBytes(SettingsPath(), ReadBytes(otherPath));
    }

    void StartSavedWithThreeNotes() {
        WriteSettings(Note(0, "zero") + Note(1, "one") + Note(2, "two"));
        Start();
        ASSERT_TRUE(manager->SaveSettings());  // every note has its identity now
    }
};

// A change saved from outside shows at once, what the user is typing stays, and neither side's change is
// lost by the next save or the session's end.
TEST_F(SharedNotes, AnotherWritersChangeShowsAndSurvivesTheNextSaves) {
    StartSavedWithThreeNotes();
    presenter->ShowManager();  // on "zero"
    view.edit = "typed here";
    OtherWriter([](NoteState& file) {
        file.table.rows[0].text = "zero there";
        file.table.rows[0].positionX = 40;
        file.table.rows[1].color = 0xFF00FF00;
        file.table.rows.erase(file.table.rows.begin() + 2);
        file.table.rows.push_back(FirstRunNote());
        file.table.rows.back().text = "three";
        file.table.rows.back().identity = "3a1d3f0e2b4c5d6e";  // a new note of its own, as a save names it
    });
    presenter->ReloadNotes();
    EXPECT_EQ(Labels(), (std::vector<std::string>{"zero there", "one", "three"}));
    EXPECT_EQ(WindowOfRow(0)->text(), "zero there");
    EXPECT_EQ(WindowOfRow(0)->rect.left, 40);
    EXPECT_EQ(WindowOfRow(1)->fill(), 0xFF00FF00);
    EXPECT_TRUE(Window(2).destroyed);
    EXPECT_TRUE(WindowOfRow(2)->visible);
    EXPECT_EQ(WindowOfRow(2)->text(), "three");
    EXPECT_EQ(view.edit, "typed here");
    EXPECT_EQ(view.selected, 0);

    WindowOfRow(1)->MoveTo(70, 80);  // the user moves a note
    presenter->ConfirmChanges("typed here");
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"typed here", "one", "three"}));
    OtherWriter([](NoteState& file) { file.table.rows[2].text = "three there"; });
    manager->EndSession();  // without a reload in between
    const NoteState file = FileNotes();
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"typed here", "one", "three there"}));
    EXPECT_EQ(file.table.rows[0].positionX, 40);
    EXPECT_EQ(file.table.rows[1].positionX, 70);
    EXPECT_EQ(file.table.rows[1].color, 0xFF00FF00);
}

TEST_F(SharedNotes, ATextChangedOnBothSidesKeepsBoth) {
    StartSavedWithThreeNotes();
    OtherWriter([](NoteState& file) { file.table.rows[1].text = "one there"; });
    presenter->SelectNote(1);
    presenter->ConfirmChanges("one here");
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"zero", "one here", "two", "one there"}));
    EXPECT_EQ(Labels(), FileTexts());
}

// A sync tool's conflict copy is merged from the version it started from, saved, and moved out of the
// synced folder into this machine's own.
TEST_F(SharedNotes, AConflictCopyIsMergedThenMovedAway) {
    TempFolder data;
    dataFolder = data.Path();
    StartSavedWithThreeNotes();
    const std::string copy = folder.File("TextSetting.sync-conflict-20261208-101010-ABCDEFG.ini");
    OtherWriter([](NoteState& file) {
        file.table.rows[1].text = "one on the laptop";
        file.table.rows.push_back(FirstRunNote());
        file.table.rows.back().text = "added on the laptop";
    }, copy);
    presenter->SelectNote(2);
    presenter->ConfirmChanges("two here");  // meanwhile, a change here
    presenter->ReloadNotes();
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"zero", "one on the laptop", "two here", "added on the laptop"}));
    EXPECT_EQ(Labels(), FileTexts());
    EXPECT_FALSE(fs::exists(fs::u8path(copy)));
    EXPECT_TRUE(fs::exists(fs::u8path(CopiesFolderFor(data.Path(), SettingsPath()) + "/conflicts/" + NameOf(copy))));
    presenter->ReloadNotes();  // nothing new: nothing changes
    EXPECT_EQ(manager->NoteCount(), 4u);

    for (const char* name :
         {"TextSetting.sync-conflict-20261208-101010-ABCDEFG.ini", "TextSetting (conflicted copy 2026-12-08).ini",
          "TextSetting (Ann's conflicted copy).ini", "TextSetting-DESKTOP-7QX2M9A.ini", "TextSetting-THISPC.ini"})
        EXPECT_EQ(ConflictCopyName(name, kSettingsFileName, "ThisPC"), CopyName::Copy) << name;
    for (const char* name : {"TextSetting.ini", "TextSetting.ini.tmp-123-4", "TextSetting.deleted.ini", "TextSetting (2).ini",
                             "Other.sync-conflict-1-2-3.ini", "TextSetting-old.ini", "TextSetting-old.ini.bak"})
        EXPECT_EQ(ConflictCopyName(name, kSettingsFileName, "ThisPC"), CopyName::NotACopy) << name;
}

TEST_F(SharedNotes, ADeletedNoteComesBackWhereItWas) {
    StartSavedWithThreeNotes();
    WindowOfRow(1)->MoveTo(300, 200);
    presenter->SelectNote(1);
    presenter->DeleteNote();
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"zero", "two"}));
    const std::vector<std::string> items = RestoreItems(*manager);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_NE(items[0].find("one"), std::string::npos);

    RestoreDeletedNote({*presenter, *manager}, 0);
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"zero", "two", "one"}));
    EXPECT_EQ(Labels(), FileTexts());
    EXPECT_TRUE(WindowOfRow(2)->visible);
    EXPECT_EQ(WindowOfRow(2)->rect.left, 300);
    EXPECT_EQ(FileNotes().table.rows[2].positionY, 200);
    EXPECT_TRUE(RestoreItems(*manager).empty());

    // Only the newest are kept.
    std::vector<DeletedNote> many(kDeletedNotesKept + 5, DeletedNote{FirstRunNote(), "2026-12-08 10:00"});
    many[0].note.text = "newest";
    const std::string path = DeletedNotesPath(SettingsPath());
    ASSERT_TRUE(SaveDeletedNotes(path, many, SettingsPath(), nullptr));
    const std::vector<DeletedNote> kept = LoadDeletedNotes(path);
    ASSERT_EQ(kept.size(), kDeletedNotesKept);
    EXPECT_EQ(kept[0].note.text, "newest");
}

// Before the day's first save, the file as it was goes to this machine's data folder; a week of them.
TEST_F(SharedNotes, TheFileIsCopiedOnceADayAndAWeekIsKept) {
    TempFolder data;
    dataFolder = data.Path();
    StartSavedWithThreeNotes();
    const std::string daily = CopiesFolderFor(data.Path(), SettingsPath()) + "/daily/";
    const std::string today = daily + "TextSetting-" + LocalTimeNow().substr(0, 10) + ".ini";
    EXPECT_EQ(ReadBytes(today), "[Text_0]\ntext=zero\n[Text_1]\ntext=one\n[Text_2]\ntext=two\n");
    presenter->ConfirmChanges("changed");
    EXPECT_EQ(ReadBytes(today), "[Text_0]\ntext=zero\n[Text_1]\ntext=one\n[Text_2]\ntext=two\n");

    for (int day = 1; day <= 9; ++day) {
        const std::string content = "[Text_0]\ntext=day " + std::to_string(day) + "\n";
        ASSERT_TRUE(WriteFileAtomically(SettingsPath(), content));  // each day's save replaces the file
        ASSERT_TRUE(KeepDailyCopy(SettingsPath(), content, data.Path(), "2026-11-0" + std::to_string(day), 7, nullptr));
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::u8path(data.Path()))) names.push_back(entry.path().filename().u8string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names.size(), 8u);  // seven copies and the folder of the copies above
    EXPECT_EQ(names.front(), "TextSetting-2026-11-03.ini");
}

// Two machines edit at once and a sync tool keeps the newer file, setting the other aside as a conflict
// copy on both: each side merges what it lacks, and both end with every edit and the same notes.
TEST_F(SharedNotes, TwoMachinesEditingAtOnceEndAlike) {
    StartSavedWithThreeNotes();
    Laptop laptop(SettingsPath());

    presenter->ConfirmChanges("zero here");  // both save at once
    laptop.manager.SelectNote(1);
    laptop.manager.ConfirmChanges("one on the laptop");
    const std::string copyName = "TextSetting.sync-conflict-20261208-101010-HERE.ini";
    SyncToolKeeps(laptop.path, copyName);  // the laptop's file is newer
    WriteBytes(laptop.folder.File(copyName), ReadBytes(folder.File(copyName)));
    presenter->ReloadNotes();  // on its own, as when the laptop's copy of the program is not running
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"zero here", "one on the laptop", "two"}));
    laptop.manager.ReloadNotes();
    for (int sync = 0; sync < 2; ++sync) {  // whichever wrote last reaches the other
        if (fs::last_write_time(fs::u8path(SettingsPath())) >= fs::last_write_time(fs::u8path(laptop.path)))
            WriteBytes(laptop.path, ReadBytes(SettingsPath()));
        else
            WriteBytes(SettingsPath(), ReadBytes(laptop.path));
        presenter->ReloadNotes();
        laptop.manager.ReloadNotes();
    }
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"zero here", "one on the laptop", "two"}));
    EXPECT_EQ(ReadBytes(SettingsPath()), ReadBytes(laptop.path));
    EXPECT_EQ(Labels(), FileTexts());
    EXPECT_EQ(laptop.view.rows.size(), 3u);
}

// Two saves here (a text, then a move) while the laptop deleted that note: the laptop never saw either, so
// the note stays, with its new text.
TEST_F(SharedNotes, ANoteChangedHereSurvivesTheLaptopsDeleteOfIt) {
    StartSavedWithThreeNotes();
    Laptop laptop(SettingsPath());

    presenter->ConfirmChanges("zero here");
    WindowOfRow(2)->MoveTo(430, 430);
    manager->SyncNotes();
    manager->SaveSettings();
    laptop.manager.DeleteNote();  // on "zero"
    laptop.notes.AddNote();
    SyncToolKeeps(laptop.path, "TextSetting.sync-conflict-20261208-101010-HERE.ini");
    presenter->ReloadNotes();
    const std::vector<std::string> texts = FileTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "zero here"), texts.end());
    EXPECT_EQ(FileNotes().table.rows[2].positionX, 430);  // "two", moved here
    EXPECT_EQ(texts.size(), 4u);  // zero here, one, two and the laptop's new note
}

// A writer that rewrites the file in place holds it while the user drags a note: the drag waits in memory
// (the program goes on, and asks to look again), then joins the writer's version; the session's end waits
// for the writer too.
TEST_F(SharedNotes, ADragWhileAnotherProgramWritesTheFileWaitsForIt) {
    settle = SettleTimes{};
    StartSavedWithThreeNotes();
    NoteState three = FileNotes();
    three.table.rows.push_back(FirstRunNote());
    three.table.rows.back().text = "three";
    three.table.rows.back().identity = "3333333333333333";
    const std::string theirs = EncodeSettingsText(SerializeSettings(three));
    auto writer = std::make_unique<std::ofstream>(fs::u8path(SettingsPath()), std::ios::binary | std::ios::trunc);
    *writer << theirs.substr(0, theirs.size() / 2) << std::flush;
    WindowOfRow(1)->MoveTo(70, 80);
    presenter->ReloadNotes();
    ASSERT_FALSE(wakeup.asked.empty());
    EXPECT_EQ(manager->NoteCount(), 3u);  // half a file removes nothing
    presenter->SelectNote(0);
    presenter->ConfirmChanges("zero here");
    EXPECT_EQ(ReadBytes(SettingsPath()), theirs.substr(0, theirs.size() / 2));
    EXPECT_TRUE(messages.shown.empty());

    *writer << theirs.substr(theirs.size() / 2);
    writer.reset();
    clock.Advance(wakeup.asked.back());
    presenter->ReloadNotes();
    clock.Advance(600);
    presenter->ReloadNotes();
    EXPECT_EQ(FileTexts(), (std::vector<std::string>{"zero here", "one", "two", "three"}));
    EXPECT_EQ(FileNotes().table.rows[1].positionX, 70);

    writer = std::make_unique<std::ofstream>(fs::u8path(SettingsPath()), std::ios::binary | std::ios::app);
    clock.At(clock.now + 2000, [&] { writer.reset(); });
    WindowOfRow(2)->MoveTo(90, 90);
    manager->EndSession();
    EXPECT_EQ(FileNotes().table.rows[2].positionX, 90);
    EXPECT_EQ(app.quits, 1);
}

// An older version of the program keeps no identities and saves again and again: every note keeps its window
// and stays shown, and what that writer changed shows.
TEST_F(SharedNotes, AStormOfAnotherWritersSavesKeepsEveryNoteAndItsWindow) {
    StartSavedWithThreeNotes();
    const size_t windows = factory.created.size();
    for (int save = 0; save < 200; ++save) {
        const int x = 5 * save;
        WriteBytes(SettingsPath(), Note(0, "zero", "isShow=1\npositionX=" + std::to_string(x) + "\n") +
                                       Note(1, "one", "isShow=1\n") + Note(2, "two", "isShow=1\n"));
        presenter->ReloadNotes();
    }
    EXPECT_EQ(factory.created.size(), windows);
    EXPECT_EQ(manager->ShownCount(), 3);
    EXPECT_EQ(WindowOfRow(0)->rect.left, 995);
    EXPECT_FALSE(log.Has("no window"));
}

// The text a conflict sets aside gets a note of its own that prints over no other note, and the file says
// where it went.
TEST_F(SharedNotes, ATextSetAsideByAConflictPrintsOverNoOtherNote) {
    WriteSettings(Note(0, "zero", "isShow=1\npositionX=100\npositionY=100\n") +
                  Note(1, "one", "isShow=1\npositionX=100\npositionY=160\n"));
    Start();
    ASSERT_TRUE(manager->SaveSettings());
    OtherWriter([](NoteState& file) { file.table.rows[0].text = "zero there"; });
    presenter->SelectNote(0);
    presenter->ConfirmChanges("zero here");
    ASSERT_EQ(manager->NoteCount(), 3u);
    const std::optional<WindowRect> setAside = WindowOfRow(2)->TextBounds();
    ASSERT_TRUE(setAside);
    for (int row : {0, 1}) {
        const WindowRect other = *WindowOfRow(row)->TextBounds();
        EXPECT_FALSE(setAside->left < other.right && other.left < setAside->right && setAside->top < other.bottom &&
                     other.top < setAside->bottom)
            << row;
    }
    EXPECT_EQ(FileNotes().table.rows[2].positionY, WindowOfRow(2)->rect.top);
    EXPECT_GT(WindowOfRow(2)->rect.top, 160);
}
