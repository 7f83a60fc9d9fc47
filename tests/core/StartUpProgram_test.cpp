#include <gtest/gtest.h>

#include <set>

#include "store/PrivateFolder.h"
#include "app/StartUp.h"
#include "frontend/FrontEnd.h"

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
    std::set<std::string> files;
    bool fromBuildFolder = false;
    std::string perUser = "/home/user/.config/skyslate2";
    bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
    bool MakeFolder(const std::string& made) override {
        if (made.rfind("/home/user/", 0) == 0) folders.insert(made);  // elsewhere the user may not write
        return folders.count(made) > 0;
    }
    std::string PerUserFolder() const override { return perUser; }
    bool RunsFromBuildFolder() const override { return fromBuildFolder; }
    std::string SettingsPathIn(const std::string& in) const override { return in + "/TextSetting.ini"; }
    bool LockSettings(const std::string& path) override { return locked.insert(path).second; }
    bool BringRunningCopyForward(const std::string& path) override {
        broughtForward.push_back(path);
        return runningCopyAnswers;
    }
    void ShowError(const std::string& text, const std::string& detail) override { errors.push_back(text + detail); }
    int Run(const std::string&, const std::string& path) override {
        ranOn = path;
        return 0;
    }
};

}  // namespace

TEST(StartUpProgram, OptionsFolderAndOneCopyPerSettingsFile) {
    FakePlatform platform;
    EXPECT_EQ(RunProgram(ParseOptions({"--settings-dir", "/notes"}), platform), kExitOk);
    EXPECT_EQ(platform.ranOn, "/notes/TextSetting.ini");

    // A second start on the same file brings the running copy forward and leaves.
    platform.ranOn.clear();
    EXPECT_EQ(RunProgram(ParseOptions({"--settings-dir=/notes"}), platform), kExitOk);
    EXPECT_EQ(platform.broughtForward, std::vector<std::string>{"/notes/TextSetting.ini"});
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_TRUE(platform.ranOn.empty());

    // Where the running copy does not answer, the user is told.
    platform.files.insert("/notes/TextSetting.ini");
    platform.runningCopyAnswers = false;
    EXPECT_EQ(RunProgram(ParseOptions({}), platform), kExitAlreadyRunning);
    EXPECT_EQ(platform.errors, std::vector<std::string>{text::kAlreadyRunning});

    FakePlatform other;
    EXPECT_EQ(RunProgram(ParseOptions({"--settings-dir", "/missing"}), other), kExitBadArguments);
    EXPECT_EQ(RunProgram(ParseOptions({"--bogus"}), other), kExitBadArguments);
    EXPECT_EQ(other.errors, std::vector<std::string>{std::string(text::kCannotOpenFolder) + "/missing"});
    EXPECT_TRUE(other.ranOn.empty());
}

TEST(StartUpProgram, TheNotesLiveInTheGivenFolderTheCurrentOneOrTheUsersOwn) {
    const struct {
        std::vector<std::string> args;
        bool fileInCurrentFolder;
        bool fromBuildFolder;
        std::string ranOn;
    } cases[] = {
        {{"--settings-dir", "/notes"}, true, false, "/notes/TextSetting.ini"},
        {{}, true, false, "/work/TextSetting.ini"},    // an existing user, or a portable copy
        {{}, false, true, "/work/TextSetting.ini"},    // a developer's build
        {{}, false, false, "/home/user/.config/skyslate2/TextSetting.ini"},  // installed, started anywhere
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.folder = "/work";
        if (c.fileInCurrentFolder) platform.files.insert("/work/TextSetting.ini");
        platform.fromBuildFolder = c.fromBuildFolder;
        EXPECT_EQ(RunProgram(ParseOptions(c.args), platform), kExitOk);
        EXPECT_EQ(platform.ranOn, c.ranOn);
    }

    // A user folder that cannot be made is said, and nothing runs.
    FakePlatform nowhere;
    nowhere.folder = "/";
    nowhere.perUser = "/etc/skyslate2";
    EXPECT_EQ(RunProgram(ParseOptions({}), nowhere), kExitBadArguments);
    EXPECT_EQ(nowhere.errors, std::vector<std::string>{std::string(text::kCannotOpenFolder) + "/etc/skyslate2"});
    EXPECT_TRUE(nowhere.ranOn.empty());
}

TEST(StartUpProgram, HelpVersionAndWrongArgumentsAnswerWithoutStarting) {
    struct Printed : Console {
        std::string out, err;
        void Print(const std::string& text, bool isError) override { (isError ? err : out) += text; }
    };
    const struct {
        std::vector<std::string> args;
        std::optional<int> exitCode;
        const char* outStarts;
        const char* errStarts;
    } cases[] = {
        {{"--help"}, kExitOk, "Usage: skyslate2", ""},
        {{"--version"}, kExitOk, "Skyslate2 1.", ""},
        {{"--bogus"}, kExitBadArguments, "", "skyslate2: unknown argument: --bogus\nUsage: skyslate2"},
        {{"--settings-dir"}, kExitBadArguments, "", "skyslate2: --settings-dir needs a folder"},
        {{"--settings-dir", "/notes"}, std::nullopt, "", ""},
    };
    for (const auto& c : cases) {
        Printed console;
        EXPECT_EQ(AnswerCommandLine(ParseOptions(c.args), console), c.exitCode) << c.args[0];
        EXPECT_EQ(console.out.rfind(c.outStarts, 0), 0u) << console.out;
        EXPECT_EQ(console.err.rfind(c.errStarts, 0), 0u) << console.err;
        EXPECT_EQ(console.out.empty(), *c.outStarts == 0);
        EXPECT_EQ(console.err.empty(), *c.errStarts == 0);
    }
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

#include "app/NotesPath.h"

// Where the notes show, for every desktop the program may meet and every choice the user may force; and
// that --notes-on is taken only where the front end offers it.
TEST(NotesPath, TheLayerShellWhereItIsThereX11ElseAndNeverNothingSilently) {
    struct Case {
        NotesOn asked;
        DesktopOffers offers;  // X11, Wayland, layer shell
        NotesPath path;
    };
    const Case cases[] = {
        {NotesOn::Any, {true, true, true}, NotesPath::LayerShell},   // KDE Plasma, sway
        {NotesOn::Any, {false, true, true}, NotesPath::LayerShell},  // no XWayland
        {NotesOn::Any, {true, true, false}, NotesPath::X11},         // GNOME: through XWayland
        {NotesOn::Any, {true, false, false}, NotesPath::X11},        // an X11 desktop
        {NotesOn::Any, {false, true, false}, NotesPath::None},       // nothing can show a note
        {NotesOn::Any, {false, false, false}, NotesPath::None},
        {NotesOn::X11, {true, true, true}, NotesPath::X11},
        {NotesOn::X11, {false, true, true}, NotesPath::None},
        {NotesOn::Wayland, {true, true, false}, NotesPath::None},
        {NotesOn::Wayland, {true, false, true}, NotesPath::None},  // a layer shell without a compositor is none
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.asked) << c.offers.x11 << c.offers.wayland << c.offers.layerShell);
        EXPECT_EQ(ChooseNotesPath(c.asked, c.offers), c.path);
        if (c.path == NotesPath::None) {
            EXPECT_FALSE(NoNotesPathText(c.asked, c.offers).empty());
        }
    }

    EXPECT_EQ(ParseOptions({"--notes-on", "wayland"}, true).notesOn, NotesOn::Wayland);
    EXPECT_EQ(ParseOptions({"--notes-on=x11"}, true).notesOn, NotesOn::X11);
    EXPECT_FALSE(ParseOptions({"--notes-on=mir"}, true).error.empty());
    EXPECT_FALSE(ParseOptions({"--notes-on"}, true).error.empty());
    EXPECT_FALSE(ParseOptions({"--notes-on=x11"}, false).error.empty());  // Windows has one way
    EXPECT_NE(UsageText(true).find("--notes-on"), std::string::npos);
    EXPECT_EQ(UsageText(false).find("--notes-on"), std::string::npos);
}
