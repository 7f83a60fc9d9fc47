// A writer that rewrites the notes file in place, in pieces, while the Windows program runs: a drag saved
// meanwhile and the session's end wait for it, and no note is lost.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "FileHelpers.h"
#include "InPlaceWriter.h"
#include "ProgramUnderTest.h"
#include "TempFolder.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"
#include "store/Wide_win32.h"

namespace {

using in_place::kNotes;
using in_place::Notes;
using in_place::PlaceOf;

// Writes the file in place in three pieces a second apart, holding it open all the while.
void WriteInPieces(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const size_t piece = (bytes.size() + 2) / 3;
    for (size_t at = 0; at < bytes.size(); at += piece) {
        if (at > 0) Sleep(1000);
        DWORD written = 0;
        WriteFile(file, bytes.data() + at, DWORD(std::min(piece, bytes.size() - at)), &written, nullptr);
        FlushFileBuffers(file);
    }
    CloseHandle(file);
}

}  // namespace

TEST(EndToEndWriters, AFileRewrittenInPlaceInPiecesCostsNoNote) {
    for (const bool sessionEnds : {false, true}) {
        SCOPED_TRACE(sessionEnds ? "the session ends meanwhile" : "a drag meanwhile");
        TempFolder folder;
        const std::string path = folder.File(kSettingsFileName);
        WriteBytes(path, Notes(false));
        ProgramUnderTest program(Widen(folder.Path()));
        ASSERT_TRUE(program.WaitUntilReady());
        Sleep(500);
        std::thread writer(WriteInPieces, path, Notes(true));
        Sleep(300);
        if (sessionEnds) {
            EXPECT_TRUE(program.EndSession());
        } else {
            DragMouse(PlaceOf(0).x + 60, PlaceOf(0).y + 60, 100, 0);
        }
        writer.join();
        if (!sessionEnds) {
            Sleep(2500);  // looked at again once it settled
            EXPECT_TRUE(program.EndSession());
        }

        NoteState file;
        LoadSettingsFromText(file, DecodeSettingsBytes(ReadBytes(path)));
        std::set<std::string> texts;
        for (const NoteRecord& note : file.table.rows) texts.insert(note.text);
        EXPECT_EQ(file.table.rows.size(), size_t(kNotes));
        EXPECT_EQ(texts.size(), size_t(kNotes));
        EXPECT_EQ(texts.count(in_place::kWrittenText), 1u);
        EXPECT_EQ(texts.count(WelcomeText()), 0u);
        if (file.table.rows.size() == size_t(kNotes)) {
            EXPECT_EQ(file.table.rows[in_place::kMovedNote].positionY, PlaceOf(in_place::kMovedNote).y + in_place::kMovedBy);
        }
        if (!sessionEnds && !file.table.rows.empty()) {
            EXPECT_EQ(file.table.rows[0].positionX, PlaceOf(0).x + 100);
        }
    }
}
