// A legacy file as the ANSI profile functions of a Chinese Windows wrote it, with what a user and newer
// versions added by hand, kept exactly through the Windows program's save.
#include <windows.h>

#include <gtest/gtest.h>

#include "FileHelpers.h"
#include "ProgramUnderTest.h"
#include "TempFolder.h"
#include "store/IniFile.h"
#include "store/SettingsEncoding.h"
#include "store/Wide_win32.h"

namespace {

// A note section in GBK bytes: the face 黑体 and the text given.
std::string GbkNote(int number, int y, const std::string& gbkText, const std::string& extra = "") {
    return "[Text_" + std::to_string(number) + "]\r\nisShow=1\r\nautoStart=0\r\npositionX=100\r\npositionY=" +
           std::to_string(y) + "\r\nwidth=600\r\nheight=150\r\ncolor=255,0,0\r\nfont=\xBA\xDA\xCC\xE5\r\n" +
           "fontSize=400\r\ndelete=0\r\ntext=" + gbkText + "\r\nisTopWin=1\r\n" + extra;
}

}  // namespace

TEST(EndToEndFiles, ALegacyGbkFileKeepsItsShortNotesUnknownKeysAndComments) {
    TempFolder folder;
    const std::string path = folder.File("TextSetting.ini");
    WriteBytes(path, "; \xB1\xE3\xC7\xA9 (notes), kept by hand\r\n" +                      // ; 便签
                         GbkNote(0, 100, "\xCD\xA8\xD6\xAA", "future=1\r\n") +             // 通知
                         "[Other]\r\nkeep=me\r\n" +
                         GbkNote(1, 300, "\xCE\xAA\xCA\xB2\xC3\xB4") +                     // 为什么
                         GbkNote(2, 500, "\xCA\xB5\xCA\xB1\xC2\xB7\xBF\xF6"));             // 实时路况
    ProgramUnderTest program(Widen(folder.Path()));
    ASSERT_TRUE(program.WaitUntilReady());
    EXPECT_NE(program.FindByClass(L"text_2"), nullptr);
    EXPECT_TRUE(program.EndSession());  // saves

    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.substr(0, 2), "\xFF\xFE");  // now UTF-16, which the profile functions read too
    const IniDocument file = ParseIni(DecodeSettingsBytes(saved));
    ASSERT_EQ(file.Preamble().size(), 1u);
    EXPECT_EQ(file.Preamble()[0], "; 便签 (notes), kept by hand");
    ASSERT_EQ(file.size(), 4u);
    const auto value = [&](size_t section, const char* key) {
        const auto found = FindValue(file[section], key);
        return found ? std::string(*found) : std::string("<missing>");
    };
    EXPECT_EQ(value(0, "text"), "通知");
    EXPECT_EQ(value(0, "future"), "1");
    EXPECT_EQ(value(0, "font"), "黑体");
    EXPECT_EQ(file[1].name, "Other");
    EXPECT_EQ(value(1, "keep"), "me");
    EXPECT_EQ(value(2, "text"), "为什么");
    EXPECT_EQ(value(3, "text"), "实时路况");
}
