#include <QLockFile>

#include "EndToEndFixture.h"
#include "app/StartUp.h"

TEST_F(EndToEndQt, FirstStartWritesTheFileAndShowsOneNote) {
    RunningProgram program = Start();
    const auto note = program.WaitForRole("text_0");
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->viewable);
    EXPECT_EQ(note->geometry, QRect(500, 500, 800, 500));
    EXPECT_FALSE(program.FindByRole("text_1"));
    EXPECT_EQ(FileValue(0, "positionX"), "500");
    EXPECT_EQ(FileValue(1, "positionX"), "<no section>");
    EXPECT_TRUE(program.Terminate());
}

TEST_F(EndToEndQt, EveryNoteGetsItsWindowAndHiddenOnesStayHidden) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 200, 400, "isShow=0\n") + BlockNote(2, 300, 700));
    RunningProgram program = Start();
    const auto first = program.WaitForRole("text_0");
    const auto hidden = program.WaitForRole("text_1");
    const auto third = program.WaitForRole("text_2");
    ASSERT_TRUE(first && hidden && third);
    EXPECT_TRUE(first->viewable);
    EXPECT_FALSE(hidden->viewable);
    EXPECT_TRUE(third->viewable);
    EXPECT_EQ(third->geometry.topLeft(), QPoint(300, 700));
    EXPECT_TRUE(program.Terminate());
    EXPECT_EQ(FileValue(1, "isShow"), "0");
}

// The place in the file changes only by the user's drag: never where the window manager or another
// program put a window.
TEST_F(EndToEndQt, DraggedNoteIsStoredWhereItWasDroppedWhenTheSessionEnds) {
    WriteBytes(SettingsPath(), BlockNote(0, 300, 300) + BlockNote(1, 100, 700) + BlockNote(2, 1000, 100));
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0") && program.WaitForRole("text_2"));
    const std::optional<RunningProgram::Window> moved = program.FindByRole("text_2");
    Xdotool({"windowmove", QString::number(moved->id), "1100", "150"});  // not the user's own drag
    Drag({360, 350}, {150, 80});
    QThread::msleep(400);
    EXPECT_EQ(program.FindByRole("text_0")->geometry.topLeft(), QPoint(450, 380));
    EXPECT_EQ(FileValue(0, "positionX"), "300");  // a move alone saves nothing
    EXPECT_TRUE(program.Terminate());              // SIGTERM ends the session like "关闭"
    EXPECT_EQ(FileValue(0, "positionX"), "450");
    EXPECT_EQ(FileValue(0, "positionY"), "380");
    EXPECT_EQ(FileValue(1, "positionX") + "," + FileValue(1, "positionY"), "100,700");
    EXPECT_EQ(FileValue(2, "positionX") + "," + FileValue(2, "positionY"), "1000,100");
}

TEST_F(EndToEndQt, AutoStartFlagInTheFileDecidesTheAutostartEntry) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100, "autoStart=1\nisShow=1\n"));
    {
        RunningProgram program = Start();
        ASSERT_TRUE(program.WaitForRole("text_0"));
        ASSERT_TRUE(Exists(EntryPath()));
        const std::string entry = ReadBytes(EntryPath());
        EXPECT_NE(entry.find("Exec=\"" + RunningProgram::ProgramPath() + "\" --settings-dir \"" + folder.Path() + "\""),
                  std::string::npos)
            << entry;
        EXPECT_NE(entry.find("\nPath=" + folder.Path() + "\n"), std::string::npos) << entry;
        EXPECT_TRUE(program.Terminate());
    }
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100, "autoStart=0\nisShow=1\n"));
    {
        RunningProgram program = Start();
        ASSERT_TRUE(program.WaitForRole("text_0"));
        EXPECT_FALSE(Exists(EntryPath()));
        EXPECT_TRUE(program.Terminate());
    }
}

TEST_F(EndToEndQt, ASecondStartBringsTheRunningCopysManagerForwardAndLeavesTheFileAlone) {
    RunningProgram first = Start();
    ASSERT_TRUE(first.WaitForRole("text_0"));
    EXPECT_FALSE(first.ViewableTitle("SettingManager"));
    const std::string before = ReadBytes(SettingsPath());
    RunningProgram second = Start();
    ASSERT_TRUE(second.Exited(10000));
    EXPECT_EQ(second.ExitCode(), 0);
    ASSERT_TRUE(WaitFor([&] { return first.ViewableTitle("SettingManager"); }));
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
    EXPECT_TRUE(first.Terminate());
}

TEST_F(EndToEndQt, ASecondStartThatCannotReachTheRunningCopySaysSo) {
    // A copy that holds the settings but does not answer: this test's own lock.
    QLockFile lock(QString::fromStdString(runtime.Path() + "/" + InstanceName(SettingsPath()) + ".lock"));
    ASSERT_TRUE(lock.tryLock(0));
    RunningProgram second = Start();
    ASSERT_TRUE(WaitFor([&] { return second.FindByTitle("Skyslate2").has_value(); }));
    EXPECT_FALSE(second.FindByRole("text_0"));
    EXPECT_FALSE(Exists(SettingsPath()));  // not even a first-run file
}
