// A save changes only what the program owns: other programs' files, unknown keys, sections and
// comments, read-only files and files beside the settings are left as they are.
#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramSave.h"
#include "FileHelpers.h"
#include "TempFolder.h"
#include "store/FileIO.h"
#include "store/IniFile.h"
#include "store/NoteText.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"

namespace {

class WhatASaveKeeps : public ::testing::Test {
protected:
    std::string Path() const { return folder.File(kSettingsFileName); }
    LoadOutcome Load(const std::string& bytes) {
        WriteBytes(Path(), bytes);
        return LoadSettings(state, Path()).outcome;
    }
    // The file as text, with LF line ends and without the mark of the encoding it is written in.
    std::string FileText() const {
        std::string text = ReplaceAll(DecodeSettingsBytes(ReadBytes(Path())), "\r\n", "\n");
        const std::string mark = std::string(kUtf8Marker) + "\n";
        return text.compare(0, mark.size(), mark) == 0 ? text.substr(mark.size()) : text;
    }

    TempFolder folder;
    NoteState state;
};

// The keys a section lacked, in the order a new section lists them.
std::string KeysAfterText(const std::string& rest) { return rest + "isTopWin=1\n"; }
std::string KeysBeforeText(const std::string& text) {
    return "isShow=1\nautoStart=0\npositionX=500\npositionY=500\nwidth=800\nheight=500\ncolor=255,0,0\nfont=黑体\n"
           "fontSize=380\ndelete=0\n" + text;
}

}  // namespace

TEST_F(WhatASaveKeeps, AnotherProgramsFileIsNotASettingsFile) {
    const std::string files[] = {
        "[user]\n\tname = Someone\n\temail = someone@example.org\n[core]\n\teditor = vim\n",
        "[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %f\n",
        "; window state\n[Window]\nwidth=800\nheight=600\ncolor=1,2,3\n",
    };
    for (const std::string& file : files) {
        EXPECT_EQ(Load(file), LoadOutcome::Unreadable) << file;
        EXPECT_EQ(ReadBytes(Path()), file);
    }
    // A section of the program's own naming or holding a note's key is a note, whatever else is there.
    EXPECT_EQ(Load("[Window]\nwidth=800\n[Text_3]\n"), LoadOutcome::Loaded);
    EXPECT_EQ(Load("[Shopping]\ntext=milk\n"), LoadOutcome::Loaded);
    EXPECT_EQ(state.table.rows.at(0).text, "milk");
}

TEST_F(WhatASaveKeeps, UnknownKeysSectionsAndCommentsSurviveEditsDeletesAndAdds) {
    Load("; my notes, kept by hand\n"
         "[Text_0]\ntext=first\n; about the first note\nmood=happy\n"
         "[Other]\nkeep=me\n"
         "[Text_1]\nTEXT = second\nextra=x\n"
         "[Text_2]\ntext=third\nfuture=1\ntext=a later duplicate\n\n; the tail\n"
         "[Tail]\nz=1\n");
    ASSERT_EQ(state.table.count(), 3u);
    state.table.rows.erase(state.table.rows.begin());  // the first note deleted
    state.table.rows[0].text = "2nd";
    state.table.rows.push_back(FirstRunNote());
    state.table.rows.back().text = "new";
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));

    const std::string expected = "; my notes, kept by hand\n"
                                 "[Other]\nkeep=me\n"
                                 "[Text_0]\ntext=2nd\nextra=x\n" + KeysBeforeText("") + KeysAfterText("") +
                                 "[Text_1]\ntext=third\nfuture=1\ntext=a later duplicate\n" +
                                 KeysBeforeText("") + KeysAfterText("") + "\n; the tail\n"
                                 "[Text_2]\n" + KeysBeforeText("text=new\n") + KeysAfterText("") +
                                 "[Tail]\nz=1\n";
    EXPECT_EQ(WithoutIdentities(FileText()), expected);
    ASSERT_EQ(state.table.count(), 3u);
    EXPECT_EQ(state.table.rows[1].text, "third");
    const std::string saved = FileText();
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    EXPECT_EQ(FileText(), saved);  // a second save changes nothing
}

TEST_F(WhatASaveKeeps, CommentsOfAFileWithoutNotesStayWithTheFirstRunNote) {
    EXPECT_EQ(Load("; notes go here\n"), LoadOutcome::NoNotes);
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    EXPECT_EQ(FileText().rfind("; notes go here\n[Text_0]\n", 0), 0u) << FileText();
}

TEST_F(WhatASaveKeeps, WhatASaveWritesLoadsBackToTheSameNotes) {
    const std::string texts[] = {
        std::string("a\0b", 3), std::string(3000, '\0') + "x", std::string("\0", 1), "tab\there",
        "\x01\x02 controls", "  \"quoted\"  ", "a\r\nb\rc\nd", "\xEF\xBB\xBF" "bom inside",
    };
    for (const std::string& text : texts) {
        Load("[Text_0]\ntext=x\n");
        state.table.rows[0].text = text;
        state.table.rows[0].font = std::string("Ar\0ial", 6);
        ASSERT_TRUE(SaveAsTheProgram(state, Path()));
        NoteState reloaded;
        ASSERT_EQ(LoadSettings(reloaded, Path()).outcome, LoadOutcome::Loaded) << text;
        std::string expected = ReplaceAll(text, std::string("\0", 1), "");
        expected = ReplaceAll(ReplaceAll(ReplaceAll(expected, "\r\n", kLineBreakMarker), "\r", kLineBreakMarker),
                              "\n", kLineBreakMarker);
        EXPECT_EQ(reloaded.table.rows.at(0).text, expected);
        EXPECT_EQ(reloaded.table.rows.at(0).font, "Arial");
    }
}

TEST_F(WhatASaveKeeps, AReadOnlyFileIsNeverSavedOver) {
    Load("[Text_0]\ntext=kept\n");
    SetReadOnly(Path(), true);
    const std::string before = ReadBytes(Path());
    state.table.rows[0].text = "changed";
    std::string error;
    EXPECT_FALSE(SaveAsTheProgram(state, Path(), &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(Path()), before);
    EXPECT_EQ(state.table.rows[0].text, "changed");  // the table keeps what was not saved
    SetReadOnly(Path(), false);
    EXPECT_TRUE(SaveAsTheProgram(state, Path()));
}

TEST(StaleTemporaries, OnlyThisProgramsOwnLeftoversAreRemoved) {
    TempFolder folder;
#ifdef _WIN32
    const std::string own[] = {"TextSetting.ini.tmp-4242-123456-0", "TextSetting.ini.tmp-1-2-3"};
    const std::string others[] = {"TextSetting.ini.tmp-a1B2c3", "TextSetting.ini.tmp-1-2"};
#else
    const std::string own[] = {"TextSetting.ini.tmp-a1B2c3", "TextSetting.ini.tmp-000000"};
    const std::string others[] = {"TextSetting.ini.tmp-4242-123456-0", "TextSetting.ini.tmp-a1B2c3d"};
#endif
    const std::string users[] = {"TextSetting.ini", "TextSetting.ini.backup", "TextSetting.ini.tmp",
                                 "TextSetting.ini.tmp-", "Other.ini.tmp-a1B2c3", "TextSetting.ini.tmp-a1B2c"};
    for (const auto* names : {&own, &others})
        for (const std::string& name : *names) WriteBytes(folder.File(name), "[Text_0]\n");
    for (const std::string& name : users) WriteBytes(folder.File(name), "mine");

    const std::vector<std::string> removed = RemoveStaleTemporaries(folder.File(kSettingsFileName));
    EXPECT_EQ(removed.size(), std::size(own));
    for (const std::string& name : own) EXPECT_FALSE(Exists(folder.File(name))) << name;
    for (const std::string& name : others) EXPECT_TRUE(Exists(folder.File(name))) << name;
    for (const std::string& name : users) EXPECT_EQ(ReadBytes(folder.File(name)), "mine") << name;
}
