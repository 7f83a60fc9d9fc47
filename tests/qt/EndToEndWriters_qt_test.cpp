// Writers as users have them, with the real program: an editor or a network share's client that rewrites
// the notes file in place, in pieces, while the user drags a note or the session ends.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <set>

#include "EndToEndFixture.h"
#include "InPlaceWriter.h"
#include "store/Settings.h"

namespace {

using in_place::kNotes;

QPoint PlaceOf(int note) { return {in_place::PlaceOf(note).x, in_place::PlaceOf(note).y}; }

}  // namespace

// Whatever the program does while the file is half written (a drag that it saves, the session's end), no note
// is lost, the writer's change stays, no welcome note comes and no note doubles.
TEST_F(EndToEndQt, AFileRewrittenInPlaceInPiecesCostsNoNote) {
    enum class During { Drag, SessionEnd };
    const struct {
        const char* name;
        int pieces;
        int pauseMs;
        bool emptyFirst;  // truncates, waits, then writes
        During during;
    } cases[] = {
        {"two pieces 0.3 s apart, a drag", 2, 300, false, During::Drag},
        {"four pieces 1 s apart, a drag", 4, 1000, false, During::Drag},
        {"three pieces 1 s apart, the session ends", 3, 1000, false, During::SessionEnd},
        {"emptied for 1 s, then written, a drag", 1, 1000, true, During::Drag},
        {"emptied for 1 s, then written, the session ends", 1, 1000, true, During::SessionEnd},
    };
    const std::string theirs = in_place::Notes(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SettingsPath(), in_place::Notes(false));
        RunningProgram program = Start();
        ASSERT_TRUE(program.WaitForRole("text_" + QString::number(kNotes - 1)));
        QThread::msleep(300);

        const int fd = open(SettingsPath().c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        const size_t piece = (theirs.size() + size_t(c.pieces) - 1) / size_t(c.pieces);
        // What the user or the session does while the file is cut short: after the first piece, or the truncation.
        const auto meanwhile = [&] {
            if (c.during == During::SessionEnd)
                kill(program.Pid(), SIGTERM);
            else
                Drag(PlaceOf(0) + QPoint(60, 60), {100, 0});
        };
        for (int i = 0; i < c.pieces; ++i) {
            if (i == (c.emptyFirst ? 0 : 1)) meanwhile();
            if (i > 0 || c.emptyFirst) QThread::msleep(unsigned(c.pauseMs));
            const std::string part = theirs.substr(size_t(i) * piece, piece);
            ASSERT_EQ(write(fd, part.data(), part.size()), ssize_t(part.size()));
            fsync(fd);
        }
        close(fd);
        if (c.during == During::Drag) QThread::msleep(2500);  // looked at again once it settled
        EXPECT_TRUE(c.during == During::SessionEnd ? program.Exited(15000) && program.ExitCode() == 0
                                                   : program.Terminate());

        NoteState file;
        LoadSettingsFromText(file, DecodeSettingsBytes(ReadBytes(SettingsPath())));
        std::set<std::string> texts;
        for (const NoteRecord& note : file.table.rows) texts.insert(note.text);
        EXPECT_EQ(file.table.rows.size(), size_t(kNotes));
        EXPECT_EQ(texts.size(), size_t(kNotes));  // no note twice
        EXPECT_EQ(texts.count(WelcomeText()) + texts.count(WelcomeText(UiLanguage::English)), 0u);
        EXPECT_EQ(texts.count(in_place::kWrittenText), 1u);
        ASSERT_EQ(file.table.rows.size(), size_t(kNotes));
        EXPECT_EQ(file.table.rows[in_place::kMovedNote].positionY, PlaceOf(in_place::kMovedNote).y() + in_place::kMovedBy);
        if (c.during == During::Drag) {
            EXPECT_EQ(file.table.rows[0].positionX, PlaceOf(0).x() + 100);
        }
    }
}
