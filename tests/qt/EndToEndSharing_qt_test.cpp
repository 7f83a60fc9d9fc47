// The notes file shared with another writer while the program runs.
#include <QElapsedTimer>

#include "EndToEndFixture.h"
#include "store/FileIO.h"

// A sync tool replaces the file (a new file renamed over the old one): the program shows the new notes
// without a restart, and a later move and the session's end keep them.
TEST_F(EndToEndQt, AFileReplacedFromOutsideShowsAndSurvivesTheSessionEnd) {
    WriteBytes(SettingsPath(), BlockNote(0, 100, 100) + BlockNote(1, 300, 500));
    RunningProgram program = Start();
    ASSERT_TRUE(program.WaitForRole("text_0"));
    ASSERT_TRUE(program.WaitForRole("text_1"));
    QThread::msleep(500);

    QElapsedTimer shown;
    shown.start();
    ASSERT_TRUE(WriteFileAtomically(SettingsPath(), BlockNote(0, 100, 100, "isShow=1\n", "moved there") +
                                                        BlockNote(1, 300, 500) + BlockNote(2, 700, 100)));
    ASSERT_TRUE(WaitFor([&] { return program.ViewableRole("text_2"); }));
    std::printf("the replaced file showed after %lld ms\n", static_cast<long long>(shown.elapsed()));
    EXPECT_EQ(program.FindByRole("text_2")->geometry.topLeft(), QPoint(700, 100));

    // The user drags the second note 100 pixels to the right.
    Drag({360, 550}, {100, 0});
    QThread::msleep(300);
    EXPECT_TRUE(program.Terminate());
    EXPECT_EQ(FileValue(0, "text"), "moved there");
    EXPECT_EQ(FileValue(1, "positionX"), "400");
    EXPECT_EQ(FileValue(2, "positionX"), "700");
}
