#include <gtest/gtest.h>

#include "store/IniFile.h"

namespace {

std::string ValueOf(const IniSection& section, const char* key) {
    const auto value = FindValue(section, key);
    return value ? std::string(*value) : "<missing>";
}

}  // namespace

TEST(IniParse, ReadsLikeTheProfileFunctions) {
    const auto sections = ParseIni(
        "stray=before any section\r\n"
        "  [ First ]  \r\n"
        "  Key One  =  spaced value  \r\n"
        "; comment=not a key\r\n"
        "quoted=\"  kept blanks  \"\r\n"
        "single='x'\r\n"
        "half=\"open\r\n"
        "empty=\r\n"
        "no equals sign\r\n"
        "dup=first\r\n"
        "DUP=second\r\n"
        "[Second]\n"
        "a=b=c\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].name, "First");
    EXPECT_EQ(ValueOf(sections[0], "key one"), "spaced value");
    EXPECT_EQ(ValueOf(sections[0], "; comment"), "<missing>");
    EXPECT_EQ(ValueOf(sections[0], "quoted"), "  kept blanks  ");
    EXPECT_EQ(ValueOf(sections[0], "single"), "x");
    EXPECT_EQ(ValueOf(sections[0], "half"), "\"open");
    EXPECT_EQ(ValueOf(sections[0], "empty"), "");
    EXPECT_EQ(ValueOf(sections[0], "dup"), "first");
    EXPECT_EQ(ValueOf(sections[0], "missing"), "<missing>");
    EXPECT_EQ(ValueOf(sections[1], "a"), "b=c");
}

TEST(IniParse, KeepsSectionsOfTheSameNameApart) {
    const auto sections = ParseIni("[Text_0]\ntext=one\n[text_0]\ntext=two\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(ValueOf(sections[0], "text"), "one");
    EXPECT_EQ(ValueOf(sections[1], "text"), "two");
}

TEST(IniWriter, AwkwardValuesReadBackAsWritten) {
    const std::string values[] = {"  leading", "trailing  ", "\"quoted\"", "'single'", "plain \"inner\" quotes",
                                  "", "=starts with equals", "[not a section]"};
    IniWriter out("\r\n");
    out.Section("S");
    for (size_t i = 0; i < std::size(values); ++i) out.Key("k" + std::to_string(i), values[i]);
    const auto sections = ParseIni(out.Text());
    ASSERT_EQ(sections.size(), 1u);
    for (size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(ValueOf(sections[0], ("k" + std::to_string(i)).c_str()), values[i]) << i;
}

TEST(IniWriter, LineBreaksInAValueCannotStartANewSection) {
    IniWriter out("\n");
    out.Section("S");
    out.Key("text", "a\r\n[Evil]\nb\rc");
    const auto sections = ParseIni(out.Text());
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(ValueOf(sections[0], "text"), "a*#33#[Evil]*#33#b*#33#c");
}
