#include <gtest/gtest.h>

#include "store/Autostart.h"

namespace {

// Records what SetAutostart asks of the store.
class FakeStore : public AutostartStore {
public:
    std::optional<std::string> stored;
    int writes = 0;
    int removes = 0;

    std::optional<std::string> ReadRegistration() override { return stored; }
    void WriteRegistration(const std::string& value) override {
        stored = value;
        ++writes;
    }
    void RemoveRegistration() override {
        stored.reset();
        ++removes;
    }
    std::string DesiredRegistration() const override { return "\"C:\\App\\Skyslate2.exe\""; }
};

}  // namespace

TEST(SetAutostart, WritesOnlyWhenTheStoredValueDiffers) {
    FakeStore store;
    SetAutostart(store, true);
    EXPECT_EQ(store.writes, 1);
    SetAutostart(store, true);
    EXPECT_EQ(store.writes, 1);  // already exactly right

    store.stored = "\"c:\\app\\skyslate2.exe\"";  // differs only in letter case
    SetAutostart(store, true);
    EXPECT_EQ(store.writes, 2);
    EXPECT_EQ(store.stored, store.DesiredRegistration());
}

TEST(SetAutostart, DisablingRemovesEvenWhenNothingIsStored) {
    FakeStore store;
    SetAutostart(store, false);
    EXPECT_EQ(store.removes, 1);
    EXPECT_FALSE(store.stored);
    EXPECT_EQ(store.writes, 0);
}

TEST(RunKeyCommand, QuotesProgramAndFolder) {
    EXPECT_EQ(RunKeyCommand("C:\\Program Files\\S\\Skyslate2.exe", "D:\\My Notes"),
              "\"C:\\Program Files\\S\\Skyslate2.exe\" --settings-dir \"D:\\My Notes\"");
    // A trailing backslash would otherwise escape the closing quote.
    EXPECT_EQ(RunKeyCommand("C:\\S.exe", "D:\\"), "\"C:\\S.exe\" --settings-dir \"D:\\\\\"");
}

TEST(DesktopEntry, QuotesExecAndNamesTheFolder) {
    const std::string entry = DesktopEntry("/opt/my apps/skyslate2", "/home/u/100% \"notes\"");
    EXPECT_NE(entry.find("[Desktop Entry]\n"), std::string::npos);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    // Exec: quoted arguments, inner quote escaped, % doubled, and the backslashes escaped once more.
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/skyslate2\" --settings-dir \"/home/u/100%% \\\\\"notes\\\\\"\"\n"),
              std::string::npos)
        << entry;
    EXPECT_NE(entry.find("\nPath=/home/u/100% \"notes\"\n"), std::string::npos) << entry;
}
