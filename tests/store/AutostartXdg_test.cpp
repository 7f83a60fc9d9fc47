#include <gtest/gtest.h>
#include <stdlib.h>

#include "store/AutostartXdg.h"
#include "FileHelpers.h"
#include "TempFolder.h"

namespace {

// Points XDG_CONFIG_HOME at a temporary folder for one test.
class XdgAutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = getenv("XDG_CONFIG_HOME");
        if (old) saved_ = old;
        hadOld_ = old != nullptr;
        setenv("XDG_CONFIG_HOME", (config.Path() + "/config").c_str(), 1);
    }
    void TearDown() override {
        if (hadOld_) setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
    }
    std::string EntryFile() const { return config.Path() + "/config/autostart/vezuDeve_v2.desktop"; }

    TempFolder config;
    std::string saved_;
    bool hadOld_ = false;
};

}  // namespace

TEST_F(XdgAutostartTest, RegistersRewritesAndRemovesTheEntry) {
    XdgAutostart autostart("/usr/bin/skyslate2", "/home/u/notes");
    EXPECT_EQ(XdgAutostart::EntryPath(), EntryFile());

    SetAutostart(autostart, true);  // creates the missing folders too
    ASSERT_TRUE(Exists(EntryFile()));
    EXPECT_EQ(ReadBytes(EntryFile()), DesktopEntry("/usr/bin/skyslate2", "/home/u/notes"));

    WriteBytes(EntryFile(), "[Desktop Entry]\nExec=/old/place/skyslate2\n");  // the program moved
    SetAutostart(autostart, true);
    EXPECT_EQ(ReadBytes(EntryFile()), autostart.DesiredRegistration());

    SetAutostart(autostart, false);
    EXPECT_FALSE(Exists(EntryFile()));
    SetAutostart(autostart, false);  // nothing there: nothing fails
    EXPECT_FALSE(Exists(EntryFile()));
}

TEST_F(XdgAutostartTest, FallsBackToTheHomeConfigFolder) {
    unsetenv("XDG_CONFIG_HOME");
    const char* home = getenv("HOME");
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(XdgAutostart::EntryPath(), std::string(home) + "/.config/autostart/vezuDeve_v2.desktop");
}
