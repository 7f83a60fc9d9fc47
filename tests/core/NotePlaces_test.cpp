#include <functional>

#include "ManagerFixture.h"

// A note's place reaches the file because the user moved it, and only then.
class NotePlaces : public ManagerFixture {
protected:
    void StartWithTwoNotes() {
        WriteSettings(Note(0, "zero", "positionX=100\npositionY=100\nwidth=400\nheight=200\n") +
                      Note(1, "one", "positionX=900\npositionY=300\nwidth=400\nheight=200\n"));
        Start();
    }
    std::string PlaceInFile(size_t section) const {
        return FileValue(section, "positionX") + "," + FileValue(section, "positionY") + " " +
               FileValue(section, "width") + "x" + FileValue(section, "height");
    }
};

// Every command that saves, with what it does besides.
const std::vector<std::pair<const char*, std::function<void(NoteManager&)>>> kSavingCommands = {
    {"lock", [](NoteManager& notes) { notes.SetLocked(true); }},
    {"login start", [](NoteManager& notes) { notes.ApplyAutoStart(true); }},
    {"stay on top", [](NoteManager& notes) { notes.ApplyTopMost(1, false); }},
    {"confirm", [](NoteManager& notes) { notes.ConfirmChanges(1, "one!", AppearanceOf(notes.Record(1))); }},
    {"add", [](NoteManager& notes) { notes.AddNote(); }},
    {"exit", [](NoteManager& notes) { notes.ExitProgram(); }},
    {"session end", [](NoteManager& notes) { notes.EndSession(); }},
};

TEST_F(NotePlaces, AUsersDragOrResizeReachesTheFileWithWhateverCommandSavesNext) {
    for (const auto& [name, command] : kSavingCommands) {
        StartWithTwoNotes();
        WindowOfRow(0)->MoveTo(250, 260);
        FakeWindow& resized = *WindowOfRow(1);
        resized.rect.right += 120;  // a drag on the right edge band
        (*resized.onUserPlaced)(resized, resized.rect);
        command(*manager);
        EXPECT_EQ(PlaceInFile(0), "250,260 400x200") << name;
        EXPECT_EQ(PlaceInFile(1), "900,300 520x200") << name;
    }
}

TEST_F(NotePlaces, WhereTheWindowSystemPutsANoteNeverReachesTheFile) {
    const Monitor screen{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
    for (const auto& [name, command] : kSavingCommands) {
        screens.monitors = {screen};
        StartWithTwoNotes();
        WindowOfRow(0)->Impose(760, 440);  // centred, as a centring compositor does
        WindowOfRow(1)->Impose(32, 32);    // a fixed offset
        manager->SyncNotes();
        command(*manager);
        EXPECT_EQ(PlaceInFile(0), "100,100 400x200") << name;
        EXPECT_EQ(PlaceInFile(1), "900,300 400x200") << name;
    }
    // A window pulled onto the screen by the window system, then told the monitors changed: the note goes
    // back to its own place, which the file keeps.
    StartWithTwoNotes();
    WindowOfRow(1)->Impose(1500, 300);
    manager->OnMonitorsChanged();
    EXPECT_EQ(WindowOfRow(1)->rect.left, 900);
    manager->ExitProgram();
    EXPECT_EQ(PlaceInFile(1), "900,300 400x200");
}
