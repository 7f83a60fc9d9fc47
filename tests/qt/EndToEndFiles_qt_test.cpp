// Settings files that cannot be read, and ones with huge values, as the running program meets them.
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
