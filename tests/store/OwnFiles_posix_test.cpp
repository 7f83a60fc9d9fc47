#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "FileHelpers.h"
#include "StoreFakes.h"
#include "TempFolder.h"
#include "store/NotesFile.h"
#include "store/SharedFiles.h"

// The files the program keeps besides the notes (deleted notes, daily copies, merged conflict copies, the
// versions merges start from, notes a session's end could not save) are no more readable than the notes,
// and are never written through a link someone planted in their place.

namespace fs = std::filesystem;

namespace {
unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? unsigned(info.st_mode & 0777) : 0;
}
}  // namespace

TEST(OwnFiles, NoneIsMoreReadableThanTheNotesOrWrittenThroughALink) {
    TempFolder notes, data, elsewhere;
    const std::string path = notes.File(kSettingsFileName);
    WriteBytes(path, "[Text_0]\nnoteId=a1a1a1a1\ntext=a\n[Text_1]\nnoteId=b2b2b2b2\ntext=b\n");
    fs::permissions(fs::u8path(path), fs::perms::owner_read | fs::perms::owner_write);
    const std::string victim = elsewhere.File("the user's own file");
    WriteBytes(victim, "keep me");
    const std::string copies = CopiesFolderFor(data.Path(), path);
    const std::string today = DailyCopyPath(copies + "/daily", kSettingsFileName, LocalTimeNow().substr(0, 10));
    fs::create_directories(fs::u8path(copies + "/daily"));
    for (const std::string& planted : {DeletedNotesPath(path), today})
        fs::create_symlink(fs::u8path(victim), fs::u8path(planted));

    FakeClock clock;
    FakeLog log;
    NotesFile::Setup setup;
    setup.settingsPath = path;
    setup.dataFolder = data.Path();
    setup.settle = {0, 0, 250};
    NotesFile file(setup, clock, log);
    NoteState ours = file.Load(NoteTable::kCapacity).notes;
    file.KeepDeleted({ours.table.rows[1]}, DeletedBy::Here);
    ours.table.rows.pop_back();
    ASSERT_EQ(file.Save(ours, {}, NotesFile::Then::GoOn, NoteTable::kCapacity).status, NotesFile::Saved::Status::Saved);
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_TRUE(log.Has("a deleted note was not kept") && log.Has("no daily copy") && log.Has("left alone"));
    EXPECT_TRUE(file.DeletedNotes({}).empty());  // a link is not read either

    for (const std::string& planted : {DeletedNotesPath(path), today}) fs::remove(fs::u8path(planted));
    file.KeepDeleted({ours.table.rows[0]}, DeletedBy::Here);
    ours.table.rows[0].text = "a changed";
    ASSERT_EQ(file.Save(ours, {}, NotesFile::Then::GoOn, NoteTable::kCapacity).status, NotesFile::Saved::Status::Saved);
    const std::string copy = notes.File("TextSetting.sync-conflict-20261209-101010-XYZ.ini");
    WriteBytes(copy, "[Text_0]\nnoteId=c3c3c3c3\ntext=c from the copy\n");
    fs::permissions(fs::u8path(copy), fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    file.LookForChanges(ours, {});
    std::ofstream writer(fs::u8path(path), std::ios::app);  // being written at the session's end
    EXPECT_EQ(file.Save(ours, {}, NotesFile::Then::Quit, NoteTable::kCapacity).status,
              NotesFile::Saved::Status::Deferred);

    std::map<std::string, unsigned> modes, expected;
    for (const std::string& own :
         {DeletedNotesPath(path), today, copies + "/conflicts/" + NameOf(copy), copies + "/unsaved.ini"}) {
        modes[own] = ModeOf(own);
        expected[own] = 0600;
    }
    for (const auto& version : fs::directory_iterator(fs::u8path(copies + "/versions"))) {
        modes[version.path().u8string()] = ModeOf(version.path().u8string());
        expected[version.path().u8string()] = 0600;
    }
    for (const std::string& folder : {copies, copies + "/daily", copies + "/conflicts", copies + "/versions"}) {
        modes[folder] = ModeOf(folder);
        expected[folder] = 0700;
    }
    EXPECT_EQ(modes, expected);
    EXPECT_GE(expected.size(), 9u);
}
