#include "ManagerFixture.h"
#include "store/NoteText.h"

using StartUp = ManagerFixture;

TEST_F(StartUp, FirstStartWritesTheFileAndShowsOneNote) {
    autostart.stored = "left over";
    Start();
    ASSERT_EQ(factory.created.size(), 1u);
    FakeWindow& note = Window(0);
    EXPECT_EQ(note.className, "text_0");
    EXPECT_EQ(note.rect.left, 500);
    EXPECT_EQ(note.rect.top, 500);
    EXPECT_EQ(note.rect.width(), 800);
    EXPECT_EQ(note.rect.height(), 500);
    EXPECT_TRUE(note.visible);
    EXPECT_EQ(note.text(), StoredToText(WelcomeText()));
    EXPECT_EQ(note.fill(), 0xFFFF0000u);
    EXPECT_EQ(note.look.face, "黑体");
    EXPECT_EQ(note.look.emSize, 38.0f);

    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_TRUE(view.rows[0].checked);
    EXPECT_EQ(view.rows[0].label, StoredToListLabel(WelcomeText()));
    EXPECT_EQ(view.edit, "");  // filled when the dialog shows
    presenter->ShowManager();
    EXPECT_TRUE(view.shown);
    EXPECT_EQ(view.edit, StoredToText(WelcomeText()));
    EXPECT_TRUE(view.topMostCheck);
    EXPECT_FALSE(view.autoStartCheck);
    EXPECT_FALSE(autostart.stored);  // autoStart 0 removes a registration
    EXPECT_EQ(presenter->Pending().color, 0xFFFF0000u);
    EXPECT_EQ(presenter->Pending().fontSize, 380);
    EXPECT_EQ(FileSections().size(), 1u);
}

TEST_F(StartUp, EveryRowGetsAWindowShownOrHiddenAsStored) {
    WriteSettings(Note(0, "a*#33#b", "isTopWin=0\nwidth=-1\nheight=-5\nfontSize=385\ncolor=0,128,255\n") +
                  Note(1, "hidden", "isShow=0\nwidth=0\n") + Note(2, "third", "autoStart=1\n"));
    Start();
    ASSERT_EQ(factory.created.size(), 3u);
    EXPECT_EQ(Window(0).className, "text_0");
    EXPECT_EQ(Window(2).className, "text_2");
    EXPECT_EQ(manager->WindowsCreated(), 3);

    EXPECT_EQ(Window(0).rect.width(), 1200);
    EXPECT_EQ(Window(0).rect.height(), 500);
    EXPECT_EQ(Window(1).rect.width(), 0);
    EXPECT_EQ(Window(0).text(), "a\nb");
    EXPECT_EQ(Window(0).look.emSize, 38.0f);
    EXPECT_EQ(Window(0).fill(), 0xFF0080FFu);
    EXPECT_FALSE(Window(0).topMost);

    EXPECT_TRUE(Window(0).visible);
    EXPECT_FALSE(Window(1).visible);
    EXPECT_FALSE(view.rows[1].checked);
    EXPECT_EQ(manager->ShownCount(), 2);
    EXPECT_EQ(Window(1).draws, 0);  // a hidden note is not drawn until it is shown
    EXPECT_EQ(view.rows[0].label, "a;b");
    presenter->ShowManager();
    EXPECT_EQ(view.edit, "a\nb");
    EXPECT_FALSE(view.topMostCheck);  // row 0's flag

    EXPECT_TRUE(view.autoStartCheck);  // the last section's flag
    EXPECT_EQ(autostart.stored, autostart.DesiredRegistration());
}

TEST_F(StartUp, FileWithoutNotesShowsTheWelcomeNoteAndIsLeftAlone) {
    for (const std::string& content : {std::string(), std::string("\xEF\xBB\xBF"), std::string("; empty\n"),
                                       std::string("[Text_0]\ndelete=1\n")}) {
        WriteSettings(content);
        factory.created.clear();
        view.rows.clear();
        Start();
        ASSERT_EQ(factory.created.size(), 1u) << content;
        EXPECT_TRUE(Window(0).visible);
        EXPECT_EQ(Window(0).text(), StoredToText(WelcomeText()));
        EXPECT_EQ(view.rows.size(), 1u);
        EXPECT_EQ(ReadBytes(SettingsPath()), content);  // written at the next save, not at start-up
    }
    EXPECT_TRUE(messages.shown.empty());
    presenter->ConfirmChanges("mine");
    EXPECT_EQ(FileValue(0, "text"), "mine");
}

TEST_F(StartUp, AUsersMoveReachesTheRowAtOnceAndTheFileOnlyWithTheNextSave) {
    WriteSettings(Note(0, "shown", "positionX=10\npositionY=20\n") +
                  Note(1, "hidden", "isShow=0\npositionX=30\npositionY=40\n"));
    Start();
    Window(0).MoveTo(111, 222);
    EXPECT_EQ(Row(0).positionX, 111);
    EXPECT_EQ(Row(0).positionY, 222);
    EXPECT_EQ(Row(1).positionX, 30);
    EXPECT_EQ(FileValue(0, "positionX"), "10");
}
