// Sequences in which a command once acted on another note than the user's, or dropped what the user did.
#include "ManagerFixture.h"
#include "quicksettings/QuickSettings.h"
#include "store/NoteText.h"

namespace {

class NoteOwnership : public ManagerFixture {
protected:
    void StartWithThreeNotes(const std::string& secondExtra = "") {
        WriteSettings(Note(0, "zero", "color=255,0,0\n") + Note(1, "one", "color=0,255,0\n" + secondExtra) +
                      Note(2, "two", "color=0,0,255\nfont=Arial\nfontSize=240\n"));
        Start();
    }
    QuickSettings Open(int row) {
        QuickSettings dialog(*dialogs, *manager->WindowOf(row));
        EXPECT_TRUE(dialog.Init().valid);
        return dialog;
    }
};

}  // namespace

TEST_F(NoteOwnership, QuickSettingsOfAnotherNoteLeaveTheManagersNoteAlone) {
    StartWithThreeNotes();
    presenter->ShowManagerOn(0);
    view.edit = "typed for zero";
    {
        QuickSettings two = Open(2);
        pickers.colorAnswers = {std::nullopt};
        two.ChooseNoteColor();  // cancelled
        two.SetTopMost(false);
        pickers.fontAnswers = {FontChoice{"Courier", 100, 0xFF0000FF}};
        two.ChooseNoteFont();
        two.Cancel();  // Esc
    }
    EXPECT_EQ(presenter->Current(), 0);
    EXPECT_EQ(view.selected, 0);
    EXPECT_TRUE(view.topMostCheck);  // note 0's box, not note 2's
    EXPECT_EQ(presenter->Pending().color, 0xFFFF0000u);
    EXPECT_EQ(WindowOfRow(2)->look.face, "Arial");  // the cancelled preview is gone

    presenter->ConfirmChanges(view.edit);
    EXPECT_EQ(Row(0).text, "typed for zero");
    EXPECT_EQ(Row(2).text, "two");
    EXPECT_EQ(Row(0).color, 0xFFFF0000u);
    EXPECT_EQ(Row(2).font, "Arial");

    presenter->DeleteNote();
    ASSERT_EQ(manager->NoteCount(), 2u);
    EXPECT_EQ(Row(0).text, "one");  // note 0 went, not note 2
    EXPECT_EQ(Row(1).text, "two");
}

TEST_F(NoteOwnership, PendingAppearanceBelongsToTheNoteItWasPickedFor) {
    StartWithThreeNotes();
    // Two dialogs open at once, each picking a colour for its own note.
    QuickSettings one = Open(1);
    QuickSettings two = Open(2);
    pickers.colorAnswers = {0xFF111111, 0xFF222222};
    one.ChooseNoteColor();
    two.ChooseNoteColor();
    one.Ok("one");
    EXPECT_EQ(Row(1).color, 0xFF111111u);
    EXPECT_EQ(Row(2).color, 0xFF0000FFu);
    EXPECT_EQ(WindowOfRow(2)->fill(), 0xFF222222u);  // its own preview still shows
    two.Ok("two");
    EXPECT_EQ(Row(2).color, 0xFF222222u);
    EXPECT_EQ(Row(2).font, "Arial");

    // A cancelled dialog of another note does not touch the manager's preview.
    pickers.colorAnswers = {0xFF333333};
    presenter->PickColor();
    Open(2).Cancel();
    presenter->ConfirmChanges("zero");
    EXPECT_EQ(Row(0).color, 0xFF333333u);
    EXPECT_EQ(Row(2).color, 0xFF222222u);

    // After a delete the pending values are the new current note's.
    presenter->SelectNote(1);
    pickers.colorAnswers = {0xFF444444};
    presenter->PickColor();
    presenter->DeleteNote();
    EXPECT_EQ(presenter->Current(), 0);
    EXPECT_EQ(presenter->Pending().color, 0xFF333333u);
    presenter->ConfirmChanges(view.edit);
    EXPECT_EQ(Row(0).color, 0xFF333333u);
    EXPECT_EQ(FileValue(0, "color"), "51,51,51");
}

TEST_F(NoteOwnership, AHiddenNoteEditedInTheManagerShowsItsNewText) {
    StartWithThreeNotes("isShow=0\n");
    presenter->SelectNote(1);
    pickers.colorAnswers = {0xFF445566};
    presenter->PickColor();
    presenter->ConfirmChanges("new\r\ntext");
    EXPECT_EQ(FileValue(1, "text"), "new*#33#text");

    presenter->OnNoteListCheck(1, true);
    EXPECT_TRUE(WindowOfRow(1)->visible);
    EXPECT_EQ(WindowOfRow(1)->text(), "new\ntext");
    EXPECT_EQ(WindowOfRow(1)->fill(), 0xFF445566u);
    QuickSettings dialog(*dialogs, *manager->WindowOf(1));
    EXPECT_EQ(dialog.Init().text.text, "new\ntext");
    dialog.Ok("new\r\ntext");
    EXPECT_EQ(FileValue(1, "text"), "new*#33#text");
}

TEST_F(NoteOwnership, CloseAfterAFailedSaveKeepsTheProgramRunningButTheSessionEnds) {
    StartWithThreeNotes();
    Window(1).MoveTo(10, 20);
    {
        FolderAway away(folder.Path());
        EXPECT_FALSE(manager->ExitProgram());
        QuickSettings dialog = Open(0);
        EXPECT_FALSE(dialog.Exit());  // the dialog stays too, for another try
        EXPECT_EQ(messages.shown, std::vector<std::string>(2, "设置文件保存失败！"));
        EXPECT_EQ(app.quits, 0);
        EXPECT_FALSE(Window(0).destroyed);
    }
    EXPECT_TRUE(manager->ExitProgram());  // the folder is back
    EXPECT_EQ(app.quits, 1);
    EXPECT_EQ(FileValue(1, "positionX"), "10");

    StartWithThreeNotes();
    messages.shown.clear();
    FolderAway away(folder.Path());
    manager->EndSession();
    EXPECT_EQ(app.quits, 2);
    EXPECT_TRUE(messages.shown.empty());  // nobody may be there to answer
    EXPECT_FALSE(log.lines.empty());
}

TEST_F(NoteOwnership, SectionsMarkedDeletedNeverGetAWindowOrARow) {
    WriteSettings(Note(0, "zero") + Note(1, "gone", "delete=1\n") + Note(2, "two", "positionX=100\n"));
    Start();
    ASSERT_EQ(manager->NoteCount(), 2u);
    ASSERT_EQ(factory.created.size(), 2u);
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[1].label, "two");
    presenter->ConfirmChanges("zero!");  // an ordinary save
    WindowOfRow(1)->MoveTo(300, 400);
    presenter->ConfirmChanges("zero!!");
    EXPECT_EQ(WindowOfRow(1)->text(), "two");
    ASSERT_EQ(FileSections().size(), 2u);
    EXPECT_EQ(FileValue(1, "text"), "two");
    EXPECT_EQ(FileValue(1, "positionX"), "300");
}

TEST_F(NoteOwnership, WindowsTheSystemRefusedKeepTheirNotesPlace) {
    WriteSettings(Note(0, "zero", "positionX=10\nwidth=300\n") + Note(1, "one", "positionX=20\nwidth=400\n"));
    factory.refuseNext = 1;
    Start();
    ASSERT_EQ(manager->NoteCount(), 2u);
    EXPECT_EQ(manager->WindowOf(0), nullptr);
    EXPECT_EQ(WindowOfRow(1)->className, "text_0");
    presenter->ConfirmChanges("still zero");
    EXPECT_EQ(FileValue(0, "text"), "still zero");
    EXPECT_EQ(FileValue(0, "positionX"), "10");
    EXPECT_EQ(FileValue(0, "width"), "300");
    EXPECT_EQ(FileValue(1, "positionX"), "20");
    EXPECT_EQ(FileValue(1, "width"), "400");
    EXPECT_GE(log.lines.size(), 1u);
}

TEST_F(NoteOwnership, HiddenNotesStayHiddenFromTheStart) {
    WriteSettings(Note(0, "shown") + Note(1, "hidden", "isShow=0\n"));
    Start();
    EXPECT_TRUE(Window(0).visible);
    EXPECT_FALSE(Window(1).visible);
    EXPECT_EQ(Window(1).draws, 0);
    EXPECT_FALSE(view.rows[1].checked);
}

TEST_F(NoteOwnership, AnUnreadableFileIsNeverWrittenOver) {
    const std::string garbage(4096, '\0');
    WriteSettings(garbage);
    autostart.stored = "registered";
    Start();
    EXPECT_EQ(messages.shown, std::vector<std::string>{text::kReadFailed});
    EXPECT_EQ(autostart.stored, "registered");  // the file's flag is unknown: the registration stays
    ASSERT_EQ(manager->NoteCount(), 1u);
    presenter->ConfirmChanges("typed");
    manager->AddNote();
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown.back(), text::kNotSavedUnreadable);
    EXPECT_TRUE(manager->ExitProgram());  // nothing more can be done in this run
    EXPECT_EQ(ReadBytes(SettingsPath()), garbage);
}
