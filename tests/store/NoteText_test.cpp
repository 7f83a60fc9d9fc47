#include <gtest/gtest.h>

#include "store/IniFile.h"
#include "store/IniValues.h"
#include "store/NoteText.h"

TEST(ColorText, ParsesAndFormatsComponents) {
    EXPECT_EQ(ParseColor("255,0,0"), 0xFFFF0000u);
    EXPECT_EQ(FormatColor(0xFFFF0000u), "255,0,0");
    EXPECT_EQ(ParseColor("0,128,255"), 0xFF0080FFu);
    EXPECT_EQ(FormatColor(0x120080FFu), "0,128,255");  // alpha is not stored
}

TEST(ColorText, OddComponentsWrapToEightBits) {
    EXPECT_EQ(ParseColor("300,0,0"), 0xFF2C0000u);   // 300 mod 256 = 44
    EXPECT_EQ(ParseColor("-1,0,0"), 0xFFFF0000u);
    EXPECT_EQ(ParseColor("255"), 0xFFFF0000u);       // missing green and blue are 0
    EXPECT_EQ(ParseColor(""), 0xFF000000u);
    EXPECT_EQ(ParseColor(" 12abc, x,7,99"), 0xFF0C0007u);  // _wtoi rules, fourth field ignored
    EXPECT_EQ(OpaqueColor(1, 2, 3), 0xFF010203u);
}

TEST(ParseInt, FollowsTheRuntimeConversion) {
    EXPECT_EQ(ParseInt("  -42px"), -42);
    EXPECT_EQ(ParseInt("+7"), 7);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("- 5"), 0);
    EXPECT_EQ(ParseInt("99999999999"), 2147483647);
    EXPECT_EQ(ParseInt("-99999999999"), -2147483647 - 1);
}

// Every spelling of a line break an edit may hand over is one marker in the file, and one LF after.
TEST(LineBreaks, AnyBreakIsStoredAsTheMarkerAndComesBackAsLf) {
    const std::pair<const char*, const char*> cases[] = {
        {"a\r\nb", "a\nb"}, {"a\nb", "a\nb"}, {"a\rb", "a\nb"}, {"a\r\n\r\nb", "a\n\nb"},
        {"x*#33#y", "x\ny"},  // a marker the user typed comes back as a line break
    };
    for (const auto& [typed, shown] : cases) EXPECT_EQ(StoredToText(WritableValue(typed)), shown) << typed;
    EXPECT_EQ(StoredToListLabel("a*#33#b"), "a;b");
}
