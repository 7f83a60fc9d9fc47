// Sequences of the manager, the quick settings, the tray and the desktop that once showed or stored
// something else than what the user did.
#include "ManagerFixture.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kGrey = 0xFF777777;

class ManagerSequences : public ManagerFixture {
protected:
    void StartWithThreeNotes() {
        WriteSettings(Note(0, "zero", "color=255,0,0\n") + Note(1, "one", "color=0,255,0\n") +
                      Note(2, "two", "color=0,0,255\n"));
        Start();
        presenter->ShowManager();
    }
    QuickSettings QuickSettingsOf(int row) { return QuickSettings(*dialogs, *manager->WindowOf(row)); }
    // What the manager's current note shows is what its "确认修改" would store.
    void ExpectManagerAgreesWithItsNote() {
        EXPECT_EQ(WindowOfRow(presenter->Current())->fill(), presenter->Pending().color);
    }
};

}  // namespace

TEST_F(ManagerSequences, APickBelongsToTheManagersNoteAndIsGivenUpWithIt) {
    StartWithThreeNotes();
    // Another note's dialog takes the manager over while its colour picker is open.
    pickers.colorAnswers = {kGrey};
    pickers.whileOpen = [&] { QuickSettingsOf(1).OpenManager(); };
    presenter->PickColor();
    EXPECT_EQ(presenter->Current(), 1);
    EXPECT_EQ(WindowOfRow(0)->fill(), kRed);
    EXPECT_EQ(WindowOfRow(1)->fill(), kGreen);
    presenter->ConfirmChanges("one");
    EXPECT_EQ(FileValue(1, "color"), "0,255,0");

    // Another note's "确定" hides the manager, which gives its preview up as "取消" does.
    presenter->ShowManager();
    presenter->SelectNote(0);
    pickers.colorAnswers = {kGrey};
    presenter->PickColor();
    QuickSettingsOf(2).Ok("two");
    EXPECT_FALSE(view.shown);
    EXPECT_EQ(WindowOfRow(0)->fill(), kRed);
    ExpectManagerAgreesWithItsNote();
    EXPECT_EQ(FileValue(0, "color"), "255,0,0");
}

TEST_F(ManagerSequences, ADialogUsedDuringADeletesMessageKeepsTheNoteItOpenedTheManagerOn) {
    StartWithThreeNotes();
    presenter->SelectNote(1);
    pickers.colorAnswers = {kGrey, 0xFF123456};
    presenter->PickColor();
    SetReadOnly(SettingsPath(), true);  // the delete's save fails and says so
    messages.whileShown = [&] {
        QuickSettings two = QuickSettingsOf(1);  // "two" moved up to row 1
        two.ChooseNoteColor();
        two.OpenManager();
    };
    presenter->DeleteNote();
    SetReadOnly(SettingsPath(), false);
    EXPECT_EQ(messages.shown, std::vector<std::string>{text::kSaveFailed});
    EXPECT_EQ(presenter->Current(), 1);
    EXPECT_EQ(Row(1).text, "two");
    EXPECT_EQ(WindowOfRow(0)->fill(), kRed);  // no preview left behind on another note
    ExpectManagerAgreesWithItsNote();
    presenter->ConfirmChanges("two");
    EXPECT_EQ(FileValue(1, "color"), "18,52,86");
}

TEST_F(ManagerSequences, CancelGivesUpTextAndPreviewAndAPreviewHasOneHolder) {
    StartWithThreeNotes();
    view.edit = "typed and given up";
    presenter->HideManager();
    presenter->ShowManager();  // from the tray, or a second start
    EXPECT_EQ(view.edit, "zero");

    pickers.colorAnswers = {kGrey, kGreen};
    presenter->PickColor();
    QuickSettingsOf(0).Cancel();  // the same note's dialog, Esc: the manager still holds its pick
    ExpectManagerAgreesWithItsNote();
    EXPECT_EQ(WindowOfRow(0)->fill(), kGrey);
    QuickSettingsOf(0).OpenManager();
    ExpectManagerAgreesWithItsNote();
    QuickSettings dialog = QuickSettingsOf(0);
    dialog.ChooseNoteColor();  // the dialog takes the preview over, and gives it up with Esc
    dialog.Cancel();
    ExpectManagerAgreesWithItsNote();
    presenter->ConfirmChanges("zero");
    EXPECT_EQ(FileValue(0, "color"), "255,0,0");
}

TEST_F(ManagerSequences, WhatTheUserDidToANoteSurvivesHidingAndPastedLineBreaks) {
    StartWithThreeNotes();
    Window(0).MoveTo(300, 200);
    QuickSettingsOf(0).Hide();
    EXPECT_EQ(FileValue(0, "positionX"), "300");
    Window(1).MoveTo(50, 60);
    presenter->OnNoteListCheck(1, false);
    manager->ExitProgram();
    EXPECT_EQ(FileValue(1, "positionY"), "60");

    // Bare line feeds, as pasted into a Windows edit, are line breaks like any other.
    Start();
    presenter->SelectNote(2);
    presenter->ConfirmChanges("a\nb\rc\r\nd");
    EXPECT_EQ(Row(2).text, "a*#33#b*#33#c*#33#d");
    EXPECT_EQ(view.rows[2].label, "a;b;c;d");
    EXPECT_EQ(WindowOfRow(2)->text(), "a\nb\nc\nd");
}

TEST_F(ManagerSequences, ANoteWhoseWindowWasRefusedDoesNotCountAsShown) {
    WriteSettings(Note(0, "no window") + Note(1, "on screen"));
    factory.refuseNext = 1;
    Start();
    QuickSettings last = QuickSettingsOf(1);
    last.Hide();
    EXPECT_EQ(messages.shown, std::vector<std::string>{text::kKeepOneShown});
    EXPECT_TRUE(WindowOfRow(1)->visible);
    EXPECT_TRUE(manager->HideNote(0));  // hiding what shows nothing loses nothing
}

TEST_F(ManagerSequences, ANoteGoesBackToItsPlaceWhenItsMonitorComesBack) {
    const Monitor left{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
    const Monitor right{{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}};
    screens.monitors = {left};  // a login start before the dock's monitor is up
    WriteSettings(Note(0, "right", "positionX=2500\npositionY=100\nwidth=400\nheight=200\n") +
                  Note(1, "left", "positionX=100\npositionY=100\nwidth=400\nheight=200\n"));
    Start();
    EXPECT_LE(Window(0).rect.right, 1920);
    screens.monitors = {left, right};
    manager->OnMonitorsChanged();
    EXPECT_EQ(Window(0).rect.left, 2500);

    screens.monitors = {left};
    Window(0).Impose(1500, 100);  // the window system's own rescue, before the program hears of it
    Window(1).MoveTo(700, 300);   // and a move by the user
    manager->OnMonitorsChanged();
    screens.monitors = {left, right};
    manager->OnMonitorsChanged();
    EXPECT_EQ(Window(0).rect.left, 2500);
    EXPECT_EQ(Window(1).rect.left, 700);
    manager->ExitProgram();
    EXPECT_EQ(FileValue(0, "positionX"), "2500");
    EXPECT_EQ(FileValue(1, "positionX"), "700");
}

TEST_F(ManagerSequences, TheSessionEndingDuringTheStartUpMessageEndsTheStartUp) {
    WriteSettings("[Another program]\nkey=1\n");
    messages.whileShown = [&] { manager->EndSession(); };
    Start();
    EXPECT_TRUE(manager->Ended());
    EXPECT_EQ(app.quits, 1);
    EXPECT_TRUE(factory.created.empty());
    EXPECT_EQ(ReadBytes(SettingsPath()), "[Another program]\nkey=1\n");
}

TEST_F(ManagerSequences, NotesCanBeUnlockedWithoutATray) {
    WriteSettings(Note(0, "zero") + Note(1, "one"));
    Start();
    EXPECT_FALSE(view.lockCheck);
    presenter->ApplyLock(true);
    EXPECT_TRUE(Window(0).locked && Window(1).locked);
    Start();  // the lock is kept in the file, and the manager shows it
    EXPECT_TRUE(view.lockCheck);
    EXPECT_TRUE(Window(2).locked);
    presenter->ApplyLock(false);
    EXPECT_FALSE(Window(2).locked || Window(3).locked);
    EXPECT_FALSE(view.lockCheck);
}

TEST_F(ManagerSequences, EveryOpenQuickSettingsShowsTheLoginStartAsItIs) {
    StartWithThreeNotes();
    struct View : QuickSettingsView {
        bool autoStart = false;
        void SetAutoStartCheck(bool checked) override { autoStart = checked; }
    } first, second;
    QuickSettingsDialogs::Listing firstListed(*dialogs, first);
    {
        QuickSettingsDialogs::Listing secondListed(*dialogs, second);
        QuickSettingsOf(0).SetAutoStart(true);
        EXPECT_TRUE(second.autoStart);
    }
    QuickSettingsOf(1).SetAutoStart(false);
    EXPECT_FALSE(first.autoStart);
    EXPECT_TRUE(second.autoStart);  // closed dialogs are not told
}

TEST(AutostartPerFolder, StartUpLeavesAnotherFoldersLoginStartAlone) {
    const std::string ours = "\"skyslate2\" --settings-dir \"here\"";
    const std::string oursOlderProgram = "\"/old/skyslate2\" --settings-dir \"here\"";
    const std::string another = "\"skyslate2\" --settings-dir \"there\"";
    const std::string unnamed = "\"C:\\Tools\\Skyslate2.exe\"";  // from before folders were named
    const struct {
        std::optional<std::string> stored;
        bool flag;
        std::optional<std::string> after;
        AutostartChange change;
    } cases[] = {
        {std::nullopt, false, std::nullopt, AutostartChange::Unchanged},
        {std::nullopt, true, ours, AutostartChange::Written},
        {ours, false, std::nullopt, AutostartChange::Removed},
        {oursOlderProgram, true, ours, AutostartChange::Written},
        {another, false, another, AutostartChange::LeftAlone},
        {another, true, another, AutostartChange::LeftAlone},
        {unnamed, false, std::nullopt, AutostartChange::Removed},
    };
    for (const auto& c : cases) {
        FakeAutostart store;
        store.stored = c.stored;
        EXPECT_EQ(FollowFlagAtStart(store, c.flag), c.change) << c.stored.value_or("none") << " " << c.flag;
        EXPECT_EQ(store.stored, c.after) << c.stored.value_or("none") << " " << c.flag;
    }
    FakeAutostart store;
    store.stored = another;
    EXPECT_EQ(ApplyUserChoice(store, false), AutostartChange::LeftAlone);
    EXPECT_EQ(store.stored, another);
    EXPECT_EQ(ApplyUserChoice(store, true), AutostartChange::TookOver);
    EXPECT_EQ(store.stored, ours);
}

TEST_F(ManagerSequences, TickingLoginStartTakesItOverFromAnotherFolderAndSaysSo) {
    autostart.stored = "\"skyslate2\" --settings-dir \"there\"";
    WriteSettings(Note(0, "zero"));
    Start();
    EXPECT_EQ(autostart.removes, 0);
    presenter->ApplyAutoStart(true);
    EXPECT_EQ(autostart.stored, autostart.DesiredRegistration());
    EXPECT_EQ(messages.shown, std::vector<std::string>{text::kAutostartTakenOver});
}
