// What the manager does with the settings files users have: read-only files, leftovers of a crashed
// save, notes too long for an edit.
#include "ManagerFixture.h"
#include "quicksettings/QuickSettings.h"
#include "store/FileIO.h"

namespace {
using SettingsFileTrust = ManagerFixture;
}  // namespace

TEST_F(SettingsFileTrust, AReadOnlyFileIsReportedAsNotSavedAndTheProgramStays) {
    WriteSettings(Note(0, "zero") + Note(1, "one"));
    SetReadOnly(SettingsPath(), true);
    const std::string before = ReadBytes(SettingsPath());
    Start();
    presenter->ShowManager();
    presenter->ConfirmChanges("changed");
    EXPECT_EQ(messages.shown, std::vector<std::string>{text::kSaveFailed});
    ASSERT_FALSE(log.lines.empty());
    EXPECT_NE(log.lines.back().find("read-only"), std::string::npos) << log.lines.back();
    EXPECT_FALSE(manager->ExitProgram());  // stays, with what the user changed
    EXPECT_EQ(app.quits, 0);
    EXPECT_EQ(Row(0).text, "changed");
    EXPECT_EQ(ReadBytes(SettingsPath()), before);
}

TEST_F(SettingsFileTrust, StartUpRemovesWhatACrashedSaveLeftAndNothingElse) {
    WriteSettings(Note(0, "zero"));
#ifdef _WIN32
    const std::string leftover = folder.File("TextSetting.ini.tmp-4242-100-0");
#else
    const std::string leftover = folder.File("TextSetting.ini.tmp-Ab3dE9");
#endif
    WriteBytes(leftover, "[Text_0]\ntext=half");
    WriteBytes(folder.File("TextSetting.ini.bak"), "mine");
    Start();
    EXPECT_FALSE(Exists(leftover));
    EXPECT_EQ(ReadBytes(folder.File("TextSetting.ini.bak")), "mine");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("TextSetting.ini.tmp-"), std::string::npos);
}

TEST_F(SettingsFileTrust, ANoteTooLongToEditShowsItsBeginningAndKeepsItsText) {
    const std::string huge = "start" + std::string(300 * 1024, 'x');
    WriteSettings(Note(0, huge) + Note(1, "short"));
    Start();
    presenter->ShowManager();
    EXPECT_FALSE(view.editable);
    EXPECT_EQ(view.edit.rfind("startxxx", 0), 0u);
    EXPECT_LT(view.edit.size(), 20000u);
    pickers.colorAnswers = {0xFF00FF00};
    presenter->PickColor();
    presenter->ConfirmChanges(view.edit);  // what the read-only edit holds
    EXPECT_EQ(Row(0).text, huge);
    EXPECT_EQ(Row(0).color, 0xFF00FF00u);
    EXPECT_EQ(FileValue(0, "text"), huge);

    QuickSettings dialog(*dialogs, *manager->WindowOf(0));
    EXPECT_FALSE(dialog.Init().text.editable);
    dialog.Ok("typed over");
    EXPECT_EQ(Row(0).text, huge);

    presenter->ShowManager();
    presenter->SelectNote(1);
    EXPECT_TRUE(view.editable);
    EXPECT_EQ(view.edit, "short");
}
