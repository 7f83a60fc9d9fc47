#include <windows.h>

#include <gtest/gtest.h>

#include "FileHelpers.h"
#include "store/IniFile.h"
#include "TempFolder.h"
#include "store/Unicode.h"

// Every value our reader finds must equal what the Windows profile functions return for the same file.
namespace {

struct Lookup {
    const char* section;
    const char* key;
};

std::wstring Wide(const std::string& utf8) {
    const std::u16string w = Utf8ToUtf16(utf8);
    return std::wstring(w.begin(), w.end());
}

std::string FromProfile(const std::string& path, const Lookup& lookup) {
    wchar_t buffer[4096];
    GetPrivateProfileStringW(Wide(lookup.section).c_str(), Wide(lookup.key).c_str(), L"<missing>", buffer, 4096,
                             Wide(path).c_str());
    const std::wstring value(buffer);
    return Utf16ToUtf8(std::u16string(value.begin(), value.end()));
}

std::string FromOurReader(const std::string& text, const Lookup& lookup) {
    for (const IniSection& section : ParseIni(text)) {
        if (!EqualsIgnoringCase(section.name, lookup.section)) continue;
        const auto value = FindValue(section, lookup.key);
        return value ? std::string(*value) : "<missing>";
    }
    return "<missing>";
}

void ExpectSameValues(const std::string& text, std::initializer_list<Lookup> lookups) {
    TempFolder folder;
    const std::string path = folder.File("check.ini");
    WriteBytes(path, text);
    for (const Lookup& lookup : lookups)
        EXPECT_EQ(FromOurReader(text, lookup), FromProfile(path, lookup))
            << "[" << lookup.section << "] " << lookup.key << " in:\n" << text;
}

}  // namespace

TEST(ProfileCrossCheck, Quotes) {
    ExpectSameValues("[q]\r\na=\"x\"\r\nb='y'\r\nc=\"z'\r\nd=\"\"\r\ne=\"\r\nf= \" spaced \" \r\ng='\r\n"
                     "h=\"in\"side\"\r\ni=x\"y\"\r\n",
                     {{"q", "a"}, {"q", "b"}, {"q", "c"}, {"q", "d"}, {"q", "e"}, {"q", "f"}, {"q", "g"},
                      {"q", "h"}, {"q", "i"}});
}

TEST(ProfileCrossCheck, BlanksAndLetterCase) {
    ExpectSameValues("  [ Sec One ]  \r\n  key  =  value with  inner  \r\n\tTab\t=\tv\t\r\nKeY=Mixed\r\n"
                     "[SeC]\r\nx=1\r\n",
                     {{"Sec One", "key"}, {"sec one", "KEY"}, {"Sec One", "tab"}, {"SEC ONE", "key"},
                      {"sec", "X"}, {"Sec", "x"}});
}

TEST(ProfileCrossCheck, CommentsEmptyValuesAndMissingKeys) {
    ExpectSameValues("; top comment\r\n[c]\r\n;k=1\r\n  ;indented=2\r\nempty=\r\nblank=   \r\nreal=3\r\n"
                     "\r\n[other]\r\nk=4\r\n",
                     {{"c", "k"}, {"c", "indented"}, {"c", "empty"}, {"c", "blank"}, {"c", "real"},
                      {"c", "absent"}, {"nosuch", "k"}, {"other", "k"}});
}

TEST(ProfileCrossCheck, DuplicateKeysAndSettingsShapedFile) {
    ExpectSameValues("[Text_0]\r\nisShow=1\r\ntext=first\r\nTEXT=second\r\ntext=third\r\ncolor=255,0,0\r\n"
                     "font=Arial\r\nfontSize=380\r\n",
                     {{"Text_0", "text"}, {"text_0", "isShow"}, {"Text_0", "color"}, {"Text_0", "font"},
                      {"Text_0", "fontSize"}, {"Text_0", "positionX"}});
}
