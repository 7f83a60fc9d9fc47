// Settings files that cannot be read, are not ours, are read-only or hold huge values, as the running program
// meets them.
#include <sys/stat.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QScreen>

#include "EndToEndFixture.h"

TEST_F(EndToEndQt, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
    const std::string notes = BlockNote(0, 100, 100) + BlockNote(1, 300, 300);
    WriteBytes(SettingsPath(), notes);
    chmod(folder.Path().c_str(), 0777);  // a save would succeed, were one made
    int user = -1;
    if (geteuid() == 0) {  // root reads any file: run as a user who cannot
        user = 65534;
        ASSERT_EQ(chown(runtime.Path().c_str(), uid_t(user), gid_t(user)), 0);
        ASSERT_EQ(chown(config.Path().c_str(), uid_t(user), gid_t(user)), 0);
        chmod(SettingsPath().c_str(), 0600);
    } else {
        chmod(SettingsPath().c_str(), 0);
    }
    RunningProgram program = Start(user);
    std::optional<RunningProgram::Window> box;
    ASSERT_TRUE(WaitFor([&] { return (box = program.FindByTitle("Skyslate2")).has_value(); }));
    QThread::msleep(300);
    Xdotool({"key", "Return"});
    const auto note = program.WaitForRole("text_0");  // the program goes on with the welcome note
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->viewable);
    EXPECT_TRUE(program.Terminate());  // the session's end saves what it can: nothing, here
    EXPECT_EQ(ReadBytes(SettingsPath()), notes);
    struct stat info;
    ASSERT_EQ(stat(SettingsPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, geteuid());
}

TEST_F(EndToEndQt, AnotherProgramsFileBehindTheLinkIsReportedAndNeverWrittenOver) {
    TempFolder elsewhere;
    const std::string config = "[user]\n\tname = Someone\n[core]\n\teditor = vim\n";
    WriteBytes(elsewhere.File("config"), config);
    std::filesystem::create_symlink(elsewhere.File("config"), SettingsPath());
    RunningProgram program = Start();
    ASSERT_TRUE(WaitFor([&] { return program.FindByTitle("Skyslate2").has_value(); }));
    QThread::msleep(300);
    Xdotool({"key", "Return"});
    const auto note = program.WaitForRole("text_0");  // the program goes on with the welcome note
    ASSERT_TRUE(note);
    EXPECT_TRUE(program.Terminate());
    EXPECT_EQ(ReadBytes(elsewhere.File("config")), config);
    EXPECT_TRUE(std::filesystem::is_symlink(SettingsPath()));
}

// Read-only: the file's mode says so, or it belongs to someone else and the program's user may not
// write it, though the folder would let the program replace it.
TEST_F(EndToEndQt, AReadOnlyFileIsNeverSavedOver) {
    const std::string notes = BlockNote(0, 100, 100) + "; kept by hand\n";
    chmod(folder.Path().c_str(), 0777);
    for (bool asOtherUser : {false, true}) {
        if (asOtherUser && geteuid() != 0) continue;  // only root can start the program as another user
        WriteBytes(SettingsPath(), notes);
        chmod(SettingsPath().c_str(), asOtherUser ? 0644 : 0444);
        int user = -1;
        if (asOtherUser) {
            user = 65534;
            ASSERT_EQ(chown(runtime.Path().c_str(), uid_t(user), gid_t(user)), 0);
            ASSERT_EQ(chown(config.Path().c_str(), uid_t(user), gid_t(user)), 0);
        }
        RunningProgram program = Start(user);
        ASSERT_TRUE(program.WaitForRole("text_0"));
        EXPECT_TRUE(program.Terminate());  // the session's end tries to save, and may not
        EXPECT_EQ(ReadBytes(SettingsPath()), notes) << (asOtherUser ? "another user's file" : "mode 0444");
        std::filesystem::remove(SettingsPath());
    }
}

TEST_F(EndToEndQt, HugeTextsAndSizesShowWithinTheScreenAndSurviveASave) {
    const std::string line(10 << 20, 'x');  // 10 MB on one line
    WriteBytes(SettingsPath(), "[Text_0]\npositionX=99999999999\npositionY=100\nwidth=2147483647\n"
                               "height=2147483647\nfontSize=380\ntext=" + line + "\n" +
                               "[Text_1]\nisShow=0\ntext=" + line + "\n");
    RunningProgram program = Start();
    const auto note = program.WaitForRole("text_0");
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->viewable);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(screen.contains(note->geometry)) << note->geometry.x() << "," << note->geometry.y() << " "
                                                 << note->geometry.width() << "x" << note->geometry.height();
    EXPECT_TRUE(program.Terminate());
    EXPECT_EQ(FileValue(0, "text").size(), line.size());
    EXPECT_EQ(FileValue(1, "text").size(), line.size());
    EXPECT_EQ(FileValue(0, "width"), "2147483647");  // the stored size stays: the user did not resize
    EXPECT_EQ(FileValue(0, "positionY"), "100");
}
