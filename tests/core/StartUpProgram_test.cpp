#include <gtest/gtest.h>

#include <set>

#include "app/PrivateFolder.h"
#include "app/StartUp.h"
#include "manager/ManagerViews.h"

namespace {

// A platform that records what the start-up asked of it.
struct FakePlatform : Platform {
    std::string folder = "/home/user";
    std::set<std::string> folders{"/home/user", "/notes"};
    std::set<std::string> locked;       // settings files a running copy holds
    bool runningCopyAnswers = true;
    std::vector<std::string> errors;
    std::vector<std::string> broughtForward;
    std::string ranOn;

    bool ChangeFolder(const std::string& to) override {
        if (!folders.count(to)) return false;
        folder = to;
        return true;
    }
    std::string CurrentFolder() const override { return folder; }
    std::string SettingsPathIn(const std::string& in) const override { return in + "/TextSetting.ini"; }
    bool LockSettings(const std::string& path) override { return locked.insert(path).second; }
    bool BringRunningCopyForward(const std::string& path) override {
        broughtForward.push_back(path);
        return runningCopyAnswers;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    int Run(const std::string&, const std::string& path) override {
        ranOn = path;
        return 0;
    }
};

}  // namespace

TEST(StartUpProgram, OptionsFolderAndOneCopyPerSettingsFile) {
    FakePlatform platform;
    EXPECT_EQ(RunProgram({"--settings-dir", "/notes"}, platform), kExitOk);
    EXPECT_EQ(platform.ranOn, "/notes/TextSetting.ini");

    // A second start on the same file brings the running copy forward and leaves.
    platform.ranOn.clear();
    EXPECT_EQ(RunProgram({"--settings-dir=/notes"}, platform), kExitOk);
    EXPECT_EQ(platform.broughtForward, std::vector<std::string>{"/notes/TextSetting.ini"});
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_TRUE(platform.ranOn.empty());

    // Where the running copy does not answer, the user is told.
    platform.runningCopyAnswers = false;
    EXPECT_EQ(RunProgram({}, platform), kExitAlreadyRunning);
    EXPECT_EQ(platform.errors, std::vector<std::string>{text::kAlreadyRunning});

    FakePlatform other;
    EXPECT_EQ(RunProgram({"--settings-dir", "/missing"}, other), kExitBadArguments);
    EXPECT_EQ(RunProgram({"--bogus"}, other), kExitBadArguments);
    EXPECT_EQ(other.errors.size(), 2u);
    EXPECT_TRUE(other.ranOn.empty());
}

TEST(StartUpProgram, EachSettingsFileHasAnInstanceNameOfItsOwn) {
    EXPECT_EQ(InstanceName("/a/TextSetting.ini"), InstanceName("/a/TextSetting.ini"));
    EXPECT_NE(InstanceName("/a/TextSetting.ini"), InstanceName("/b/TextSetting.ini"));
    EXPECT_EQ(InstanceName("/a/TextSetting.ini").rfind("skyslate2-", 0), 0u);
}

TEST(PrivateFolder, OnlyTheUsersOwnClosedFolderHoldsTheLockAndTheSocket) {
    constexpr uint32_t kUser = 1000;
    const struct {
        FolderFacts facts;
        bool isPrivate;
    } cases[] = {
        {{true, kUser, 0700}, true},
        {{true, kUser, 0500}, true},
        {{true, kUser, 0755}, false},   // others may list it
        {{true, kUser, 01777}, false},  // a shared temporary folder
        {{true, 0, 0700}, false},       // another user's, created first
        {{false, kUser, 0700}, false},  // a symbolic link or a file
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPrivateFolder(c.facts, kUser), c.isPrivate) << std::oct << c.facts.mode << " " << c.facts.owner;
}
