#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "FileHelpers.h"
#include "StoreFakes.h"
#include "TempFolder.h"
#include "store/FileLock.h"
#include "store/NotesFile.h"
#include "store/SettingsEncoding.h"
#include "store/SharedFiles.h"

// The notes file as other writers really write it: in place and in pieces, at the same time as this
// program, while it was not running.

namespace fs = std::filesystem;

namespace {

std::string Section(int number, const std::string& id, const std::string& text, int x = 100) {
    return "[Text_" + std::to_string(number) + "]\nnoteId=" + id + "\npositionX=" + std::to_string(x) +
           "\ntext=" + text + "\n";
}

const std::string kThree = Section(0, "a1a1a1a1", "a") + Section(1, "b2b2b2b2", "b") + Section(2, "c3c3c3c3", "c");

class NotesFileTest : public ::testing::Test {
protected:
    std::string Path() const { return folder.File(kSettingsFileName); }
    // dataFolder: where this machine keeps its own files ("": none are kept).
    std::unique_ptr<NotesFile> Open(const std::string& dataFolder = "", SettleTimes settle = {}) {
        NotesFile::Setup setup;
        setup.settingsPath = Path();
        setup.dataFolder = dataFolder;
        setup.computerName = "THISPC";
        setup.settle = settle;
        return std::make_unique<NotesFile>(setup, clock, log);
    }
    static NoteState Notes(const std::string& text) {
        NoteState state;
        LoadSettingsFromText(state, text);
        return state;
    }
    NoteState FileNotes() const { return Notes(DecodeSettingsBytes(ReadBytes(Path()))); }
    static std::string Summary(const NoteState& state) {
        std::string summary;
        for (const NoteRecord& row : state.table.rows) summary += row.text + "@" + std::to_string(row.positionX) + " ";
        return summary;
    }
    NotesFile::Saved Save(NotesFile& file, const NoteState& ours, NotesFile::Then then = NotesFile::Then::GoOn) {
        return file.Save(ours, {}, then, NoteTable::kCapacity);
    }

    TempFolder folder;
    FakeClock clock;
    FakeLog log;
};

}  // namespace

// Editors and network shares write the file in place, in pieces: until the last piece is in, the file is no
// version. A save waits for it (the program goes on meanwhile, or before quitting it waits), then merges.
TEST_F(NotesFileTest, AFileBeingWrittenIsTakenOnlyOnceItIsWhole) {
    const std::string theirs = Section(0, "a1a1a1a1", "a there") + Section(1, "b2b2b2b2", "b") +
                               Section(2, "c3c3c3c3", "c") + Section(3, "d4d4d4d4", "d there");
    const size_t cutInALine = theirs.find("a there") + 3;
    const size_t cutAfterASection = theirs.find("[Text_1]");
    struct Writer {
        const char* how;
        size_t firstPiece;  // bytes written before it pauses
        bool holdsTheFile;  // keeps it open for writing meanwhile
    };
    for (const Writer& writer :
         {Writer{"in place, holding it open", cutAfterASection, true}, Writer{"truncated, then written", 0, true},
          Writer{"cut inside a line, closed between the pieces", cutInALine, false},
          Writer{"emptied and closed", 0, false}}) {
        SCOPED_TRACE(writer.how);
        WriteBytes(Path(), kThree);
        std::unique_ptr<NotesFile> file = Open();
        NoteState ours = file->Load(NoteTable::kCapacity).notes;
        ours.table.rows[1].positionX = 500;  // the user's drag here, not saved yet

        auto out = std::make_unique<std::ofstream>(fs::u8path(Path()), std::ios::binary | std::ios::trunc);
        *out << theirs.substr(0, writer.firstPiece) << std::flush;
        if (!writer.holdsTheFile) out.reset();
        const std::string piece = ReadBytes(Path());

        EXPECT_NE(file->LookForChanges(ours, {}).status, NotesFile::Look::Status::Merged);
        const NotesFile::Saved deferred = Save(*file, ours);
        EXPECT_EQ(deferred.status, NotesFile::Saved::Status::Deferred);
        EXPECT_GT(deferred.retryMs, 0);
        EXPECT_EQ(ReadBytes(Path()), piece);  // never replaced while it is written

        clock.At(clock.now + 1000, [&] {
            if (!out) out = std::make_unique<std::ofstream>(fs::u8path(Path()), std::ios::binary | std::ios::app);
            *out << theirs.substr(writer.firstPiece);
            out.reset();
        });
        EXPECT_EQ(Save(*file, ours, NotesFile::Then::Quit).status, NotesFile::Saved::Status::Saved);
        EXPECT_EQ(Summary(FileNotes()), "a there@100 b@500 c@100 d there@100 ");
        EXPECT_TRUE(file->DeletedNotes({}).empty());
    }
}

// Two programs that do not see each other (two machines on a network share) take turns under the lock;
// a lock held too long, or a file system without locks, never stops a save.
TEST_F(NotesFileTest, SavesOfTwoProgramsOnOneFileTakeTurns) {
    WriteBytes(Path(), kThree);
    std::unique_ptr<NotesFile> here = Open(), there = Open();
    NoteState ours = here->Load(NoteTable::kCapacity).notes;
    NoteState theirs = there->Load(NoteTable::kCapacity).notes;
    ours.table.rows[0].positionX = 300;
    theirs.table.rows[1].positionX = 400;

    FileLock held;
    ASSERT_EQ(held.TryTake(LockPathFor(Path()), nullptr), FileLock::Result::Taken);
    clock.At(clock.now + 300, [&] {  // the other program was saving meanwhile
        held.Release();
        ASSERT_EQ(Save(*there, theirs).status, NotesFile::Saved::Status::Saved);
    });
    EXPECT_EQ(Save(*here, ours, NotesFile::Then::Quit).status, NotesFile::Saved::Status::Saved);
    EXPECT_EQ(Summary(FileNotes()), "a@300 b@400 c@100 ");
    EXPECT_FALSE(log.Has("lock"));

    ASSERT_EQ(held.TryTake(LockPathFor(Path()), nullptr), FileLock::Result::Taken);
    ours.table.rows[2].positionX = 600;
    EXPECT_EQ(Save(*here, ours).status, NotesFile::Saved::Status::Saved);  // after two seconds
    EXPECT_TRUE(log.Has("lock stayed taken"));
    held.Release();

    fs::remove(fs::u8path(LockPathFor(Path())));
    fs::create_directory(fs::u8path(LockPathFor(Path())));  // no lock to be had here
    ours.table.rows[2].positionX = 700;
    EXPECT_EQ(Save(*here, ours).status, NotesFile::Saved::Status::Saved);
    EXPECT_TRUE(log.Has("not locked against other programs"));
    EXPECT_EQ(FileNotes().table.rows[2].positionX, 700);
}

// A sync tool sets this machine's save aside while the program is not running: after the start the merge
// has the base it would have had without the restart. Moves of both sides stay, a delete stays, a text
// changed on one side only is no conflict.
TEST_F(NotesFileTest, AMergeAfterARestartHasTheSameBase) {
    const std::string there =
        Section(0, "a1a1a1a1", "a") + Section(1, "b2b2b2b2", "b", 400) + Section(3, "d4d4d4d4", "d");
    const std::string copyName = "TextSetting.sync-conflict-20261209-101010-HERE.ini";
    std::string merged[2];
    for (const bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "with a restart" : "without one");
        TempFolder data;
        WriteBytes(Path(), kThree);
        std::unique_ptr<NotesFile> file = Open(data.Path());
        NoteState ours = file->Load(NoteTable::kCapacity).notes;
        ours.table.rows[0].positionX = 300;
        ours.table.rows[0].text = "a here";
        ASSERT_EQ(Save(*file, ours, restart ? NotesFile::Then::Quit : NotesFile::Then::GoOn).status,
                  NotesFile::Saved::Status::Saved);
        ours = FileNotes();
        fs::rename(fs::u8path(Path()), fs::u8path(folder.File(copyName)));
        WriteBytes(Path(), there);
        if (restart) {
            file = Open(data.Path());
            const NotesFile::Start start = file->Load(NoteTable::kCapacity);
            EXPECT_TRUE(start.needsSave);
            merged[1] = Summary(start.notes);
        } else {
            EXPECT_EQ(file->LookForChanges(ours, {}).status, NotesFile::Look::Status::Unsettled);
            clock.Advance(600);  // as long as the file should stay the same before it is taken
            NotesFile::Look look = file->LookForChanges(ours, {});
            ASSERT_TRUE(look.merged);
            merged[0] = Summary(look.merged->notes);
        }
        EXPECT_FALSE(Exists(folder.File(copyName)));  // merged and moved to this machine's folder
        const std::vector<DeletedNote> deleted = file->DeletedNotes({});
        ASSERT_EQ(deleted.size(), 1u);
        EXPECT_EQ(deleted[0].note.text, "c");
        EXPECT_EQ(deleted[0].by, DeletedBy::OtherWriter);
        fs::remove_all(fs::u8path(folder.Path()));
        fs::create_directories(fs::u8path(folder.Path()));
    }
    EXPECT_EQ(merged[0], "a here@300 b@400 d@100 ");
    EXPECT_EQ(merged[1], merged[0]);
}

// Only names that sync tools really make are conflict copies: a user's own backups and dated copies, and
// this program's daily copies, never are.
TEST(ConflictCopyNames, OnlyWhatSyncToolsMake) {
    const struct {
        const char* name;
        CopyName kind;
    } cases[] = {
        {"TextSetting.sync-conflict-20261208-101010-ABCDEFG.ini", CopyName::Copy},
        {"TextSetting (conflicted copy 2026-12-08).ini", CopyName::Copy},
        {"TextSetting (Ann's conflicted copy).ini", CopyName::Copy},
        {"TextSetting-DESKTOP-7QX2M9A.ini", CopyName::Copy},           // as Windows names a computer
        {"TextSetting-LAPTOP-K3J9Q1ZR.ini", CopyName::MaybeComputer},  // one letter too many for that
        {"TextSetting-thispc.ini", CopyName::Copy},                    // this computer's own
        {"TextSetting-PC01.ini", CopyName::MaybeComputer},             // a copy only when it holds a version we know
        {"TextSetting-DESKTOP-7QX.ini", CopyName::MaybeComputer},
        {"TextSetting-BACKUP.ini", CopyName::NotACopy},
        {"TextSetting-2024.ini", CopyName::NotACopy},
        {"TextSetting-2025-01-05.ini", CopyName::NotACopy},
        {"TextSetting-old.ini", CopyName::NotACopy},
        {"TextSetting (2).ini", CopyName::NotACopy},
        {"TextSetting.deleted.ini", CopyName::NotACopy},
        {"TextSetting.ini.tmp-123-4", CopyName::NotACopy},
        {".TextSetting.ini.lock", CopyName::NotACopy},
    };
    for (const auto& c : cases) EXPECT_EQ(ConflictCopyName(c.name, kSettingsFileName, "ThisPC"), c.kind) << c.name;
}

// A copy that is not one (not readable as notes, or under a name a user may have chosen and holding no version
// this program knows) stays where it is and is read again only once it changed; one far larger than the notes
// file is not read at all.
TEST_F(NotesFileTest, AConflictCopyThatIsNoneIsLookedAtOncePerChange) {
    TempFolder data;
    WriteBytes(Path(), kThree);
    std::unique_ptr<NotesFile> file = Open(data.Path());
    const NoteState ours = file->Load(NoteTable::kCapacity).notes;
    const std::string garbage = folder.File("TextSetting.sync-conflict-20261209-101010-XYZ.ini");
    const std::string usersOwn = folder.File("TextSetting-PC01.ini");
    const std::string huge = folder.File("TextSetting (conflicted copy).ini");
    WriteBytes(garbage, "[Window]\nwidth=3\n");
    WriteBytes(usersOwn, Section(0, "e5e5e5e5", "a note of the user's"));
    std::ofstream(fs::u8path(huge), std::ios::binary).seekp((65 << 20) - 1) << '\n';
    for (int look = 0; look < 3; ++look)
        EXPECT_EQ(file->LookForChanges(ours, {}).status, NotesFile::Look::Status::Unchanged);
    const auto count = [&](const std::string& part) {
        return std::count_if(log.lines.begin(), log.lines.end(),
                             [&](const std::string& line) { return line.find(part) != std::string::npos; });
    };
    EXPECT_EQ(count("not readable as notes"), 1);
    EXPECT_EQ(count("too large"), 1);
    WriteBytes(garbage, "[Window]\nwidth=4\n");
    file->LookForChanges(ours, {});
    EXPECT_EQ(count("not readable as notes"), 2);
    EXPECT_TRUE(Exists(garbage) && Exists(usersOwn) && Exists(huge));

    // The same name holding this machine's own last save is OneDrive's copy of it: merged, moved away.
    WriteBytes(usersOwn, ReadBytes(Path()));
    file->LookForChanges(ours, {});
    EXPECT_FALSE(Exists(usersOwn));
}

// A note that another writer's version no longer has can be brought back, marked as removed elsewhere (and
// kept on this machine: in the shared folder every machine would write it at once), and is not offered while
// it is a note again.
TEST_F(NotesFileTest, ANoteAnotherWriterRemovedCanComeBack) {
    TempFolder data;
    WriteBytes(Path(), kThree);
    std::unique_ptr<NotesFile> file = Open(data.Path(), SettleTimes{0, 0, 250});
    NoteState ours = file->Load(NoteTable::kCapacity).notes;
    file->KeepDeleted({ours.table.rows[2]}, DeletedBy::Here);  // the user deletes c
    ours.table.rows.pop_back();
    ASSERT_EQ(Save(*file, ours).status, NotesFile::Saved::Status::Saved);
    WriteBytes(Path(), Section(0, "a1a1a1a1", "a"));  // another writer removes b
    const NotesFile::Look look = file->LookForChanges(ours, {});
    ASSERT_TRUE(look.merged);
    EXPECT_EQ(Summary(look.merged->notes), "a@100 ");

    const auto byText = [&](const std::vector<DeletedNote>& notes, const std::string& text) {
        return std::find_if(notes.begin(), notes.end(), [&](const DeletedNote& n) { return n.note.text == text; });
    };
    const std::vector<DeletedNote> deleted = file->DeletedNotes({"a1a1a1a1"});
    ASSERT_EQ(deleted.size(), 2u);
    ASSERT_NE(byText(deleted, "b"), deleted.end());
    EXPECT_EQ(byText(deleted, "b")->by, DeletedBy::OtherWriter);
    EXPECT_EQ(byText(deleted, "c")->by, DeletedBy::Here);
    EXPECT_EQ(ReadBytes(folder.File("TextSetting.deleted.ini")).find("text=b"), std::string::npos);
    EXPECT_EQ(file->DeletedNotes({"a1a1a1a1", "b2b2b2b2"}).size(), 1u);  // b is a note again

    const std::optional<NoteRecord> back =
        file->TakeDeleted(size_t(byText(deleted, "b") - deleted.begin()), {"a1a1a1a1"});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->text, "b");
    EXPECT_EQ(file->DeletedNotes({"a1a1a1a1"}).size(), 1u);
}

// A day's copy is made only when the file changed since the last one, and the copies of a notes folder
// stay within their bound, the oldest going first.
TEST_F(NotesFileTest, DailyCopiesOnlyOfChangesWithinTheirBound) {
    TempFolder copies;
    bool made = true;
    ASSERT_TRUE(WriteFileAtomically(Path(), "[Text_0]\ntext=one\n"));
    ASSERT_TRUE(KeepDailyCopy(Path(), ReadBytes(Path()), copies.Path(), "2026-12-01", 7, nullptr, &made));
    EXPECT_TRUE(made);
    ASSERT_TRUE(KeepDailyCopy(Path(), ReadBytes(Path()), copies.Path(), "2026-12-02", 7, nullptr, &made));
    EXPECT_FALSE(made);  // nothing changed since
    ASSERT_TRUE(WriteFileAtomically(Path(), "[Text_0]\ntext=two\n"));
    ASSERT_TRUE(KeepDailyCopy(Path(), ReadBytes(Path()), copies.Path(), "2026-12-03", 7, nullptr, &made));
    EXPECT_TRUE(made);
    EXPECT_EQ(ReadBytes(copies.File("TextSetting-2026-12-01.ini")), "[Text_0]\ntext=one\n");
    EXPECT_FALSE(Exists(copies.File("TextSetting-2026-12-02.ini")));

    TempFolder bound;
    for (int i = 0; i < 4; ++i) {
        WriteBytes(bound.File("copy" + std::to_string(i)), std::string(1000, 'x'));
        fs::last_write_time(fs::u8path(bound.File("copy" + std::to_string(i))),
                            fs::file_time_type::clock::now() - std::chrono::hours(10 - i));
    }
    TrimCopies({bound.Path()}, 2500);
    EXPECT_FALSE(Exists(bound.File("copy0")) || Exists(bound.File("copy1")));
    EXPECT_TRUE(Exists(bound.File("copy2")) && Exists(bound.File("copy3")));
    EXPECT_EQ(CopiesBound(1000), 50ull << 20);
    EXPECT_EQ(CopiesBound(200ull << 20), 1000ull << 20);
}
