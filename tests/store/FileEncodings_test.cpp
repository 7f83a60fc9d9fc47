// Files in the encodings users really have: legacy GBK whose short lines look like UTF-8, UTF-8 with a
// stray byte, UTF-16 without a byte-order mark in Chinese.
#include <gtest/gtest.h>

#include "FileHelpers.h"
#include "TempFolder.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"
#include "store/Unicode.h"

namespace {

// The 3,755 common hanzi of GB2312 (level 1) as GBK bytes, in table order.
std::vector<std::string> Level1Hanzi() {
    std::vector<std::string> hanzi;
    for (int lead = 0xB0; lead <= 0xD7; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            if (lead != 0xD7 || trail <= 0xF9) hanzi.push_back({char(lead), char(trail)});
    return hanzi;
}

// A note section as the ANSI profile functions write it; the face gives no hint of the encoding.
std::string ProfileSection(size_t number, const std::string& text) {
    return "[Text_" + std::to_string(number) +
           "]\r\nisShow=1\r\nautoStart=0\r\npositionX=500\r\npositionY=500\r\nwidth=800\r\nheight=500\r\n"
           "color=255,0,0\r\nfont=Arial\r\nfontSize=380\r\ndelete=0\r\ntext=" + text + "\r\nisTopWin=1\r\n";
}

// The texts of the notes a file holds.
std::vector<std::string> Load(const std::string& bytes) {
    NoteState state;
    LoadSettingsFromText(state, DecodeSettingsBytes(bytes));
    std::vector<std::string> texts;
    for (const NoteRecord& row : state.table.rows) texts.push_back(row.text);
    return texts;
}

// The texts after a load, a save and a load again.
std::vector<std::string> LoadSavedCopy(const std::string& bytes) {
    NoteState state;
    LoadSettingsFromText(state, DecodeSettingsBytes(bytes));
    return Load(EncodeSettingsText(SerializeSettings(state)));
}

std::string Utf16Bytes(const std::string& utf8, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : Utf8ToUtf16(utf8)) {
        const char low = char(unit & 0xFF), high = char(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

}  // namespace

TEST(LegacyGbk, EveryShortNoteOfTheCommonHanziLoadsAndSavesExactly) {
    const std::vector<std::string> hanzi = Level1Hanzi();
    ASSERT_EQ(hanzi.size(), 3755u);
    size_t wrong = 0;
    for (size_t length = 1; length <= 4; ++length) {
        for (size_t first = 0; first + length <= hanzi.size(); ++first) {
            std::string note;
            for (size_t k = 0; k < length; ++k) note += hanzi[first + k];
            const std::vector<std::string> expected{DecodeLegacyCodePage(note)};
            const std::string file = ProfileSection(0, note);
            if (Load(file) != expected || LoadSavedCopy(file) != expected) {
                if (++wrong <= 5) ADD_FAILURE() << "alone: " << expected[0] << " read as " << Load(file).at(0);
            }
        }
    }
    EXPECT_EQ(wrong, 0u);
}

TEST(LegacyGbk, ShortNotesAmongLongerOnesLoadAndSaveExactly) {
    const std::vector<std::string> hanzi = Level1Hanzi();
    const std::string longNote = "\xBD\xF1\xCC\xEC\xCF\xC2\xCE\xE7\xC8\xFD\xB5\xE3\xBF\xAA\xBB\xE1\xA3\xAC"
                                 "\xBC\xC7\xB5\xC3\xB4\xF8\xB1\xCA\xBC\xC7\xB1\xBE";  // 今天下午三点开会，记得带笔记本
    std::string file;
    std::vector<std::string> expected;
    for (size_t first = 0, length = 1; first < hanzi.size(); first += length, length = length % 4 + 1) {
        std::string note;
        for (size_t k = first; k < std::min(first + length, hanzi.size()); ++k) note += hanzi[k];
        file += ProfileSection(expected.size(), note);
        expected.push_back(DecodeLegacyCodePage(note));
        if (expected.size() % 10 == 0) {
            file += ProfileSection(expected.size(), longNote);
            expected.push_back(DecodeLegacyCodePage(longNote));
        }
        if (expected.size() >= 400 || first + length >= hanzi.size()) {
            EXPECT_EQ(Load(file), expected);
            EXPECT_EQ(LoadSavedCopy(file), expected);
            file.clear();
            expected.clear();
        }
    }
    EXPECT_EQ(Load(ProfileSection(0, "\xCD\xA8\xD6\xAA") + ProfileSection(1, "\xCE\xAA\xCA\xB2\xC3\xB4") +
                   ProfileSection(2, "\xCA\xB5\xCA\xB1\xC2\xB7\xBF\xF6")),
              (std::vector<std::string>{"通知", "为什么", "实时路况"}));
}

TEST(LegacyGbk, AStrayByteInAUtf8FileSpoilsOnlyItself) {
    const std::string notes = "[Text_0]\ntext=便签*#33#第二行\nfont=黑体\n[Text_1]\ntext=café au lait\n";
    const struct {
        const char* what;
        std::string line;      // the line with the stray byte, as a third note's text
        std::string expected;  // its text after the load
    } cases[] = {
        {"in the middle of a note", "你\xFF好", "你\xEF\xBF\xBD好"},
        {"a character cut short", "你好\xE4\xBD", "你好\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"a lone continuation byte", "\xBF abc", "\xEF\xBF\xBD abc"},
        {"a Latin-1 letter", "caf\xE9 cr\xE8me", "caf\xEF\xBF\xBD cr\xEF\xBF\xBD" "me"},
    };
    for (const auto& c : cases) {
        for (const std::string& comment : {std::string(), std::string("; r\xE9sum\xE9 of the notes\n")}) {
            const std::vector<std::string> expected{"便签*#33#第二行", "café au lait", c.expected};
            const std::string file = comment + notes + "[Text_2]\ntext=" + c.line + "\n";
            EXPECT_EQ(Load(file), expected) << c.what << (comment.empty() ? "" : ", with a comment");
            EXPECT_EQ(LoadSavedCopy(file), expected) << c.what;
        }
    }
}

TEST(Utf16WithoutByteOrderMark, ChineseNotesOfAnyLengthLoadInEitherByteOrder) {
    const std::string sentence = "今天下午三点在五楼会议室开会，记得带上笔记本和上周的报告。";
    for (size_t repeats : {1, 20, 200}) {
        std::string first, second;
        for (size_t i = 0; i < repeats; ++i) first += sentence;
        for (size_t i = 0; i < repeats; ++i) second += "通知：" + sentence;
        const std::string text = "[Text_0]\r\ntext=" + first + "\r\nfont=黑体\r\n[Text_1]\r\ntext=" + second + "\r\n";
        for (bool bigEndian : {false, true}) {
            const std::vector<std::string> expected{first, second};
            EXPECT_EQ(Load(Utf16Bytes(text, bigEndian)), expected) << repeats << (bigEndian ? " BE" : " LE");
            EXPECT_EQ(LoadSavedCopy(Utf16Bytes(text, bigEndian)), expected) << repeats;
        }
    }
}

TEST(Utf16WithoutByteOrderMark, BytesThatOnlyHappenToHoldABracketAreNotASettingsFile) {
    TempFolder folder;
    const std::string path = folder.File(kSettingsFileName);
    std::string noise;
    for (int i = 0; i < 4000; ++i) noise += char((i * 7919) % 251);
    const std::string files[] = {
        noise + "\n[Text_0]\ntext=x\n" + noise,
        std::string("\0\0\0\x01[Text_0]\0\ntext=\0\x02\x03", 20) + noise,
    };
    for (const std::string& bytes : files) {
        WriteBytes(path, bytes);
        NoteState state;
        EXPECT_EQ(LoadSettings(state, path).outcome, LoadOutcome::Unreadable);
        EXPECT_EQ(ReadBytes(path), bytes);
    }
}
