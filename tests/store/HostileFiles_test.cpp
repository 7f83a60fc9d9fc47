// Settings files as other editors, tools and mishaps leave them: none of them may cost a note.
#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramSave.h"
#include "FileHelpers.h"
#include "TempFolder.h"
#include "store/SettingsEncoding.h"
#include "store/IniFile.h"
#include "store/Settings.h"
#include "store/Unicode.h"

namespace {

const std::u16string kNotes = u"[Text_0]\r\ntext=\u4FBF\u7B7E*#33#\u7B2C\u4E8C\u884C\r\nfont=\u9ED1\u4F53\r\n"
                              u"[Text_1]\r\ntext=two\r\n";

std::string Utf16Bytes(const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char low = char(unit & 0xFF), high = char(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

class HostileFiles : public ::testing::Test {
protected:
    std::string Path() const { return folder.File(kSettingsFileName); }
    LoadOutcome Load() { return LoadSettings(state, Path()).outcome; }
    void ExpectTheTwoNotes(const std::string& what) {
        ASSERT_EQ(state.table.count(), 2u) << what;
        EXPECT_EQ(state.table.rows[0].text, "便签*#33#第二行") << what;
        EXPECT_EQ(state.table.rows[0].font, "黑体") << what;
        EXPECT_EQ(state.table.rows[1].text, "two") << what;
    }

    TempFolder folder;
    NoteState state;
};

}  // namespace

TEST_F(HostileFiles, EveryEncodingAnEditorWritesLoadsAndSavesBackIntact) {
    const std::string utf8 = Utf16ToUtf8(kNotes);
    const struct {
        const char* what;
        std::string bytes;
    } files[] = {
        {"UTF-8", utf8},
        {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8},
        {"UTF-8 with a doubled BOM", "\xEF\xBB\xBF\xEF\xBB\xBF" + utf8},
        {"UTF-16LE with BOM", "\xFF\xFE" + Utf16Bytes(kNotes, false)},
        {"UTF-16BE with BOM", "\xFE\xFF" + Utf16Bytes(kNotes, true)},
        {"UTF-16LE without BOM", Utf16Bytes(kNotes, false)},
        {"UTF-16BE without BOM", Utf16Bytes(kNotes, true)},
        {"GBK", "[Text_0]\r\ntext=\xB1\xE3\xC7\xA9*#33#\xB5\xDA\xB6\xFE\xD0\xD0\r\nfont=\xBA\xDA\xCC\xE5\r\n"
                "[Text_1]\r\ntext=two\r\n"},
    };
    for (const auto& file : files) {
        WriteBytes(Path(), file.bytes);
        EXPECT_EQ(Load(), LoadOutcome::Loaded) << file.what;
        ExpectTheTwoNotes(file.what);
        ASSERT_TRUE(SaveAsTheProgram(state, Path())) << file.what;
        NoteState reloaded;
        LoadSettings(reloaded, Path());
        state = reloaded;
        ExpectTheTwoNotes(std::string(file.what) + ", saved");
        EXPECT_EQ(state.table.sectionNames[0], "Text_0") << file.what;
    }
}

TEST_F(HostileFiles, OneStrayByteChangesOnlyWhereItIs) {
    WriteBytes(Path(), "; caf\xE9 from another editor\n" + Utf16ToUtf8(kNotes) + "[Text_2]\ntext=\xE4\xBD\xA0\xFF\xE5\xA5\xBD\n");
    EXPECT_EQ(Load(), LoadOutcome::Loaded);
    ASSERT_EQ(state.table.count(), 3u);
    EXPECT_EQ(state.table.rows[0].text, "便签*#33#第二行");
    EXPECT_EQ(state.table.rows[2].text, "你\xEF\xBF\xBD好");  // only the stray byte is replaced
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    const std::string saved = DecodeSettingsBytes(ReadBytes(Path()));
    EXPECT_NE(saved.find("text=便签*#33#第二行"), std::string::npos);
    EXPECT_NE(saved.find("font=黑体"), std::string::npos);
}

TEST_F(HostileFiles, AFileWithoutNotesIsAFirstRunAndOneOfNoTextIsNotWrittenOver) {
    const struct {
        const char* what;
        std::string bytes;
        LoadOutcome outcome;
    } files[] = {
        {"empty", "", LoadOutcome::NoNotes},
        {"UTF-8 BOM only", "\xEF\xBB\xBF", LoadOutcome::NoNotes},
        {"UTF-16 BOM only", "\xFF\xFE", LoadOutcome::NoNotes},
        {"blank lines and comments", "\r\n; notes\r\n   \r\n", LoadOutcome::NoNotes},
        {"only deleted notes", "[Text_0]\ndelete=1\ntext=gone\n", LoadOutcome::NoNotes},
        {"NULs", std::string(64, '\0'), LoadOutcome::Unreadable},
        {"binary", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), LoadOutcome::Unreadable},
        {"text without sections", "shopping list\nmilk\n", LoadOutcome::Unreadable},
    };
    for (const auto& file : files) {
        WriteBytes(Path(), file.bytes);
        EXPECT_EQ(Load(), file.outcome) << file.what;
        ASSERT_EQ(state.table.count(), 1u) << file.what;
        EXPECT_EQ(state.table.rows[0].text, WelcomeText()) << file.what;
        EXPECT_EQ(ReadBytes(Path()), file.bytes) << file.what;  // a load never writes an existing file
    }
}

TEST_F(HostileFiles, SectionsBeyondTheCapacityAndTheFlagsSurviveEverySave) {
    std::string file;
    for (int i = 0; i < 1024; ++i) file += "[Text_" + std::to_string(i) + "]\ndelete=1\nautoStart=1\n";
    file += "[Text_1024]\ntext=alive\nautoStart=1\n";
    WriteBytes(Path(), file);
    Load();
    ASSERT_EQ(state.table.count(), 1u);  // deleted sections take no place
    EXPECT_EQ(state.table.rows[0].text, "alive");

    file.clear();
    for (int i = 0; i < 1030; ++i)
        file += "[Text_" + std::to_string(i) + "]\ntext=n" + std::to_string(i) + (i < 1024 ? "\nautoStart=1\n" : "\n");
    WriteBytes(Path(), file);
    Load();
    ASSERT_EQ(state.table.layout.OverflowCount(), 6u);
    EXPECT_TRUE(state.m_autoStart);
    for (int i = 0; i < 3; ++i) state.table.rows[size_t(i)].isDelete = true;
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    EXPECT_TRUE(state.m_autoStart);  // the sections that moved up carry the flag of the file now
    EXPECT_EQ(state.table.rows.back().text, "n1026");
    for (auto& row : state.table.rows) row.isDelete = true;  // every row of the table deleted
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    const IniDocument sections = ParseIni(DecodeSettingsBytes(ReadBytes(Path())));
    ASSERT_EQ(sections.size(), 3u);  // the sections beyond are kept, no first-run note over them
    EXPECT_EQ(*FindValue(sections[2], "text"), "n1029");
    EXPECT_EQ(*FindValue(sections[2], "autoStart"), "1");
}

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

TEST_F(HostileFiles, SavesGoThroughLinksKeepPermissionsAndNeverBlock) {
    namespace fs = std::filesystem;
    TempFolder elsewhere;
    const std::string target = elsewhere.File("real.ini");
    fs::create_symlink(target, Path());  // dangling: the first run creates the target
    EXPECT_EQ(Load(), LoadOutcome::FirstRunWritten);
    EXPECT_TRUE(fs::is_symlink(Path()));
    ASSERT_TRUE(Exists(target));

    chmod(target.c_str(), 0600);
    state.table.rows[0].text = "through the link";
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    EXPECT_TRUE(fs::is_symlink(Path()));
    EXPECT_NE(ReadBytes(target).find("through the link"), std::string::npos);
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // Traps at the names temporary files once had: a link to another file, and FIFOs.
    fs::remove(Path());
    WriteBytes(Path(), "[Text_0]\ntext=plain\n");
    chmod(Path().c_str(), 0640);
    const std::string victim = elsewhere.File("victim");
    WriteBytes(victim, "untouched");
    fs::create_symlink(victim, Path() + ".tmp");
    mkfifo((Path() + ".XXXXXX").c_str(), 0600);
    mkfifo((Path() + ".tmp-XXXXXX").c_str(), 0600);
    Load();
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    EXPECT_EQ(ReadBytes(victim), "untouched");
    ASSERT_EQ(stat(Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    // A FIFO in the file's place is not a settings file, and reading it does not wait for a writer.
    fs::remove(Path());
    mkfifo(Path().c_str(), 0600);
    EXPECT_EQ(Load(), LoadOutcome::Unreadable);
}
#else
#include <windows.h>

TEST_F(HostileFiles, SavesKeepTheFilesAttributes) {
    WriteBytes(Path(), "[Text_0]\ntext=plain\n");
    const std::u16string wide = Utf8ToUtf16(Path());
    const std::wstring path(wide.begin(), wide.end());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Load();
    state.table.rows[0].text = "saved";
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_NE(DecodeSettingsBytes(ReadBytes(Path())).find("text=saved"), std::string::npos);
}
#endif
