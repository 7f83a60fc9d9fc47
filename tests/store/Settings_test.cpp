#include <gtest/gtest.h>

#include "ProgramSave.h"
#include "SettingsFile.h"
#include "FileHelpers.h"
#include "store/IniFile.h"
#include "store/NoteText.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"
#include "TempFolder.h"
#include "store/Unicode.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    std::string Path() const { return folder.File(kSettingsFileName); }
    void WriteUtf8(const std::string& text) { WriteBytes(Path(), text); }
    IniDocument FileSections() const { return SettingsSections(Path()); }

    TempFolder folder;
    NoteState state;
};

std::string Section(int number, const std::string& body) {
    return "[Text_" + std::to_string(number) + "]\n" + body;
}

std::string Key(const IniSection& section, const char* key) {
    const auto value = FindValue(section, key);
    return value ? std::string(*value) : "<missing>";
}

}  // namespace

TEST_F(SettingsTest, FirstRunWritesAndLoadsTheDefaultNote) {
    state.m_autoStart = true;
    EXPECT_EQ(LoadSettings(state, Path()).outcome, LoadOutcome::FirstRunWritten);

    const auto sections = FileSections();
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0].name, "Text_0");
    const char* order[] = {"isShow", "autoStart", "positionX", "positionY", "width",  "height",
                           "color",  "font",      "fontSize",  "delete",    "text",   "isTopWin"};
    ASSERT_EQ(sections[0].entries.size(), 12u);
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(sections[0].entries[i].key, order[i]);
    EXPECT_EQ(Key(sections[0], "color"), "255,0,0");
    EXPECT_EQ(Key(sections[0], "font"), "黑体");

    ASSERT_EQ(state.table.count(), 1u);
    const NoteRecord& note = state.table.rows[0];
    EXPECT_TRUE(note.isShow);
    EXPECT_FALSE(note.autoStart);
    EXPECT_EQ(note.positionX, 500);
    EXPECT_EQ(note.positionY, 500);
    EXPECT_EQ(note.width, 800);
    EXPECT_EQ(note.height, 500);
    EXPECT_EQ(note.color, 0xFFFF0000u);
    EXPECT_EQ(note.fontSize, 380);
    EXPECT_FALSE(note.isDelete);
    EXPECT_EQ(note.text, WelcomeText());
    EXPECT_TRUE(note.isTopWin);
    EXPECT_FALSE(state.m_autoStart);
}

TEST(WelcomeText, IsAGreetingABreakAndACredit) {
    const std::u16string text = Utf8ToUtf16(WelcomeText());
    const std::u16string marker = u"*#33#";
    ASSERT_EQ(text.find(marker), 10u);
    EXPECT_EQ(text.substr(15, 14), std::u16string(14, u' '));
    EXPECT_EQ(text.substr(29, 2), u"\u2014\u2014");
}

TEST_F(SettingsTest, DeletedRowsLeaveGapsAndTheReloadCompacts) {
    LoadSettings(state, Path());
    state.table.rows = {FirstRunNote(), FirstRunNote(), FirstRunNote()};
    for (int i = 0; i < 3; ++i) state.table.rows[i].text = "note " + std::to_string(i);
    state.table.rows[1].isDelete = true;

    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    const auto sections = FileSections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].name, "Text_0");
    EXPECT_EQ(sections[1].name, "Text_2");
    ASSERT_EQ(state.table.count(), 2u);
    EXPECT_EQ(state.table.rows[0].text, "note 0");
    EXPECT_EQ(state.table.rows[1].text, "note 2");
}

TEST_F(SettingsTest, HandEditedFileLoadsInFileOrderWithDefaults) {
    WriteUtf8(Section(5, "text=first\nautoStart=1\ncolor=\n") +
              Section(1, "autoStart=0\nwidth=\nfont=\n") +
              Section(9, "isShow=0\nautoStart=1\ndelete=1\n"));
    EXPECT_EQ(LoadSettings(state, Path()).outcome, LoadOutcome::Loaded);
    ASSERT_EQ(state.table.count(), 2u);  // the section marked deleted is not loaded: the next save drops it
    const NoteRecord& first = state.table.rows[0];
    EXPECT_EQ(first.text, "first");
    EXPECT_EQ(first.color, 0xFF000000u);  // present but empty: not the default
    EXPECT_EQ(first.positionX, 500);      // missing: the default
    EXPECT_EQ(first.fontSize, 380);
    EXPECT_EQ(first.font, "黑体");
    EXPECT_TRUE(first.isTopWin);
    EXPECT_EQ(state.table.rows[1].width, 0);
    EXPECT_EQ(state.table.rows[1].font, "");
    EXPECT_EQ(state.table.rows[1].text, "");  // no "text" key: an empty note
    EXPECT_TRUE(state.m_autoStart);           // the last section decides, a deleted one too
    EXPECT_EQ(state.table.sectionNames[0], "Text_5");

    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    ASSERT_EQ(state.table.count(), 2u);
    ASSERT_EQ(FileSections().size(), 2u);
    for (const IniSection& section : FileSections()) EXPECT_EQ(Key(section, "autoStart"), "1");
}

TEST_F(SettingsTest, FileWithoutSectionsLoadsTheFirstRunNoteAndStaysAsItIs) {
    WriteUtf8("; nothing here\n");
    state.m_autoStart = true;
    EXPECT_EQ(LoadSettings(state, Path()).outcome, LoadOutcome::NoNotes);
    ASSERT_EQ(state.table.count(), 1u);
    EXPECT_EQ(state.table.rows[0].text, WelcomeText());
    EXPECT_FALSE(state.m_autoStart);
    EXPECT_EQ(ReadBytes(Path()), "; nothing here\n");
}

TEST_F(SettingsTest, SavingOnlyDeletedRowsFallsBackToTheFirstRunNote) {
    LoadSettings(state, Path());
    state.table.rows[0].isDelete = true;
    state.table.rows[0].text = "gone";
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    ASSERT_EQ(state.table.count(), 1u);
    EXPECT_EQ(state.table.rows[0].text, WelcomeText());
    EXPECT_EQ(FileSections().size(), 1u);
}

TEST_F(SettingsTest, ManySectionsAllLoadAndSurviveASave) {
    std::string file;
    for (int i = 0; i < 200; ++i) file += Section(i, "text=note " + std::to_string(i) + "\n");
    WriteUtf8(file);
    LoadSettings(state, Path());
    ASSERT_EQ(state.table.count(), 200u);
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    ASSERT_EQ(state.table.count(), 200u);
    EXPECT_EQ(state.table.rows[199].text, "note 199");
    EXPECT_EQ(FileSections().size(), 200u);
}

TEST_F(SettingsTest, SectionsBeyondTheCapacityAreKeptInTheFile) {
    std::string file;
    for (int i = 0; i < 1030; ++i) file += Section(i, "text=note " + std::to_string(i) + "\n; keep me\n");
    WriteUtf8(file);
    LoadSettings(state, Path());
    ASSERT_EQ(state.table.count(), NoteTable::kCapacity);
    ASSERT_EQ(state.table.layout.OverflowCount(), 6u);

    state.table.rows[0].isDelete = true;  // frees one place: the first kept section moves into the table
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    const auto sections = FileSections();
    ASSERT_EQ(sections.size(), 1029u);
    EXPECT_EQ(sections.back().name, "Text_1029");
    EXPECT_EQ(sections.back().lines.at(1), "; keep me");
    EXPECT_EQ(state.table.rows[1023].text, "note 1024");
    EXPECT_EQ(state.table.layout.OverflowCount(), 5u);
}

TEST_F(SettingsTest, LongAndAwkwardTextsSurvive) {
    LoadSettings(state, Path());
    const std::string longText(1000, 'x');
    const std::string awkward = "  \"quoted\" with blanks  ";
    state.table.rows.push_back(state.table.rows[0]);
    state.table.rows[0].text = longText;
    state.table.rows[1].text = awkward;
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    NoteState reloaded;
    LoadSettings(reloaded, Path());
    EXPECT_EQ(reloaded.table.rows[0].text, longText);
    EXPECT_EQ(reloaded.table.rows[1].text, awkward);
}

TEST_F(SettingsTest, LegacyGbkFileLoadsWithItsChineseText) {
    // "[Text_0]" / "text=你好*#33#世界" / "font=黑体" in GBK, as the profile functions write it.
    WriteBytes(Path(), "[Text_0]\r\ntext=\xC4\xE3\xBA\xC3*#33#\xCA\xC0\xBD\xE7\r\nfont=\xBA\xDA\xCC\xE5\r\n");
    LoadSettings(state, Path());
    ASSERT_EQ(state.table.count(), 1u);
    EXPECT_EQ(state.table.rows[0].text, "你好*#33#世界");
    EXPECT_EQ(state.table.rows[0].font, "黑体");
}

TEST_F(SettingsTest, Utf16FileWithByteOrderMarkLoads) {
    const std::u16string text = u"[Text_0]\r\ntext=\u4E2D\u6587\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) bytes += {char(unit & 0xFF), char(unit >> 8)};
    WriteBytes(Path(), bytes);
    LoadSettings(state, Path());
    ASSERT_EQ(state.table.count(), 1u);
    EXPECT_EQ(state.table.rows[0].text, "中文");
}

TEST_F(SettingsTest, CharactersOutsideGbkSurviveASaveAndReload) {
    LoadSettings(state, Path());
    const std::string text = "emoji \xF0\x9F\x98\x80 rare \xF0\xA0\x80\x80 font \xE2\x82\xAC";
    state.table.rows[0].text = text;
    state.table.rows[0].font = "\xF0\x9F\x98\x80 Face";
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    NoteState reloaded;
    LoadSettings(reloaded, Path());
    EXPECT_EQ(reloaded.table.rows[0].text, text);
    EXPECT_EQ(reloaded.table.rows[0].font, "\xF0\x9F\x98\x80 Face");
}

TEST_F(SettingsTest, AWriteThatFailsHalfWayLeavesTheOldFile) {
    LoadSettings(state, Path());
    state.table.rows[0].text = "saved";
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    const std::string before = ReadBytes(Path());

    state.table.rows[0].text = "not saved";
    state.table.rows[0].isDelete = true;
    const WriteFault halfWay{20};
    EXPECT_FALSE(WriteFileAtomically(Path(), EncodeSettingsText(SerializeSettings(state)), &halfWay));
    EXPECT_EQ(ReadBytes(Path()), before);
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder.Path())))
        EXPECT_TRUE(entry.path().filename() == kSettingsFileName || entry.path().filename() == ".TextSetting.ini.lock")
            << entry.path() << ": left behind";
}

TEST_F(SettingsTest, UnwritableFolderRunsOnTheDefaultNoteWithoutLooping) {
    const std::string path = folder.File("no such folder/" + std::string(kSettingsFileName));
    EXPECT_EQ(LoadSettings(state, path).outcome, LoadOutcome::FirstRunNotWritten);
    ASSERT_EQ(state.table.count(), 1u);
    EXPECT_EQ(state.table.rows[0].text, WelcomeText());
    EXPECT_FALSE(SaveAsTheProgram(state, path));
    EXPECT_EQ(state.table.count(), 1u);
}

TEST_F(SettingsTest, ColoursComeBackOpaqueAndAutoStartIsCopiedToEveryRow) {
    LoadSettings(state, Path());
    state.table.rows.push_back(state.table.rows[0]);
    state.table.rows[0].color = 0x00123456;
    state.table.rows[1].autoStart = false;
    state.m_autoStart = true;
    ASSERT_TRUE(SaveAsTheProgram(state, Path()));
    EXPECT_EQ(state.table.rows[0].color, 0xFF123456u);
    EXPECT_TRUE(state.table.rows[0].autoStart);
    EXPECT_TRUE(state.table.rows[1].autoStart);
}
