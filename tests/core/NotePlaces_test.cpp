#include <functional>
#include <tuple>

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

// Sizes and text are stored as they show at 100 %, places in physical pixels: the same file shows a note at
// the same apparent size on monitors of every scale, and what the user does at a scale is stored at 100 %.
TEST_F(NotePlaces, NotesFollowTheScaleOfTheirMonitorAndTheFileKeepsTheirHundredPercentSizes) {
    const std::vector<std::tuple<double, WindowRect, float>> scales = {
        {1.0, {100, 100, 500, 300}, 38.0f}, {1.5, {100, 100, 700, 400}, 57.0f}, {2.0, {100, 100, 900, 500}, 76.0f}};
    for (const auto& [scale, shown, emSize] : scales) {
        screens.monitors = {{{0, 0, 3840, 2160}, {0, 0, 3840, 2100}, scale}};
        WriteSettings(Note(0, "zero", "positionX=100\npositionY=100\nwidth=400\nheight=200\nfontSize=385\n"));
        Start();
        FakeWindow& note = *WindowOfRow(0);
        EXPECT_EQ(note.rect, shown) << scale;
        EXPECT_EQ(note.look.emSize, emSize) << scale;
        note.MoveTo(300, 200);  // a move keeps the size
        note.rect.right += int32_t(60 * scale);  // a resize by 60 pixels at 100 %
        (*note.onUserPlaced)(note, note.rect);
        manager->SaveSettings();
        EXPECT_EQ(PlaceInFile(0), "300,200 460x200") << scale;
    }

    // Dropped on a monitor of twice the scale, a note takes twice the pixels there; its file size stays.
    screens.monitors = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 1.0}, {{1920, 0, 5760, 2160}, {1920, 0, 5760, 2100}, 2.0}};
    WriteSettings(Note(0, "zero", "positionX=100\npositionY=100\nwidth=400\nheight=200\nfontSize=385\n"));
    Start();
    FakeWindow& note = *WindowOfRow(0);
    note.MoveTo(2000, 100);
    EXPECT_EQ(note.rect, (WindowRect{2000, 100, 2800, 500}));
    EXPECT_EQ(note.look.emSize, 76.0f);
    manager->SaveSettings();
    EXPECT_EQ(PlaceInFile(0), "2000,100 400x200");
    // The monitor's scale changes to 100 %: the note shows as it is stored.
    screens.monitors[1].scale = 1.0;
    manager->OnMonitorsChanged();
    EXPECT_EQ(note.rect, (WindowRect{2000, 100, 2400, 300}));
    EXPECT_EQ(note.look.emSize, 38.0f);
}
