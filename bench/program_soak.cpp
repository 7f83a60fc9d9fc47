// The real Linux program on both ends of a real sync engine (started by bench/program_soak.sh): each side on a
// display of its own, edited as users edit notes (drags, the quick settings, the manager's delete, the file
// edited by hand in place and by replacing it), with restarts between rounds. After every round both files
// must be equal, every edit kept and every note on both desktops where the file says; after the last, no
// program may write while nobody edits.
//   program_soak <folder a> <folder b> <home a> <home b> <display a> <display b> [rounds] [seed] [quiet seconds]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "FileHelpers.h"
#include "ProgramSide.h"
#include "SoakLedger.h"
#include "store/FileIO.h"
#include "store/NotesMerge.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"
#include "store/SharedFiles.h"

namespace {

using Point = ProgramSide::Point;

void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

NoteState FileState(const std::string& path) {
    NoteState state;
    LoadSettingsFromText(state, DecodeSettingsBytes(ReadBytes(path)));
    return state;
}

// Where notes stand: side a moves and adds notes on the upper half, side b on the lower, so that two notes
// never land on one place, whatever both do at once.
Point Slot(int index) { return {20 + 520 * (index % 3), 20 + 250 * (index / 3)}; }
constexpr int kSlots = 12;

std::string BlockNote(int number, Point at, const std::string& id, const std::string& text) {
    return "[Text_" + std::to_string(number) + "]\nisShow=1\nnoteId=" + id + "\npositionX=" + std::to_string(at.x) +
           "\npositionY=" + std::to_string(at.y) + "\nwidth=500\nheight=200\ncolor=0,128,255\nfont=DejaVu Sans\n" +
           "fontSize=800\ntext=" + text + "\n";
}

class ProgramSoak {
public:
    ProgramSoak(ProgramSide& a, ProgramSide& b, unsigned seed) : a_(a), b_(b), random_(seed) {}

    bool Round(int round) {
        round_ = round;
        ledger_.StartRound(round);
        const NoteState before = FileState(a_.Path());
        const bool together = round % 2 == 0;
        if (!EditSome(a_)) return Fail("an edit on a could not be made");
        if (!together && !Converge(60)) return Fail("the sides did not agree after a's edits");
        if (!together && round % 3 == 1 && !Restart(a_)) return false;  // a restart between the two sides' edits
        if (!together) ledger_.NextEpoch();
        if (!EditSome(b_)) return Fail("an edit on b could not be made");
        if (!Converge(90)) return Fail("the sides did not agree");
        ledger_.Check(before, FileState(a_.Path()));
        if (round % 3 == 0 && !Restart(round % 2 ? a_ : b_)) return false;  // and between rounds
        return true;
    }

    bool Restart(ProgramSide& side) {
        if (!side.Stop() || !side.Start()) return Fail("a restart failed");
        ++restarts_;
        return Converge(60) || Fail("the sides did not agree after a restart");
    }

    // Nobody edits: no program writes either.
    bool Quiet(int seconds) {
        const std::string fileA = ReadBytes(a_.Path()), fileB = ReadBytes(b_.Path());
        for (int waited = 0; waited < seconds * 4; ++waited) {
            Sleep(250);
            if (ReadBytes(a_.Path()) != fileA || ReadBytes(b_.Path()) != fileB)
                return Fail("a program wrote while nobody edited");
        }
        return true;
    }
    const SoakLedger& Ledger() const { return ledger_; }
    int Restarts() const { return restarts_; }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    std::string Marker(const ProgramSide& side) {
        return side.Name() + "r" + std::to_string(round_) + "n" + std::to_string(++marker_);
    }

    bool EditSome(ProgramSide& side) {
        for (int n = 1 + Pick(2); n > 0; --n) {
            const NoteState file = FileState(side.Path());
            const int count = int(file.table.rows.size());
            const NoteRecord& note = file.table.rows[size_t(Pick(count))];
            arrived_ = Arrived(file, note.identity, side.Name());
            const int kind = Pick(10);
            bool made = true;
            if (kind < 4)
                made = DragThenText(side, file, note);
            else if (kind < 6)
                made = QuickText(side, note.identity, {note.positionX, note.positionY});
            else if (kind < 7 && count > 4)
                made = Delete(side, note);
            else if (kind < 9)
                made = HandText(side, file, note.identity, kind == 7);
            else if (count < 8)
                made = HandAdd(side, file);
            if (!made) return false;
        }
        return true;
    }

    // A drag reaches the file with the user's next change: here, the moved note's new text.
    bool DragThenText(ProgramSide& side, const NoteState& file, const NoteRecord& note) {
        const std::optional<ProgramSide::Window> window = side.NoteWindowAt({note.positionX, note.positionY});
        const std::optional<Point> slot = FreeSlot(side, file);
        if (!window || !window->painted) return Report(side, "no note window to drag at its place");
        if (!slot) return true;
        const Point from = *window->painted;
        side.Drag(from, {from.x + slot->x - note.positionX, from.y + slot->y - note.positionY});
        ledger_.Made({SoakEdit::Move, side.Name(), note.identity, {}, slot->x, slot->y, 0, arrived_});
        if (!side.WaitFor(3000, [&] { return side.NoteWindowAt(*slot).has_value(); }))
            return Report(side, "the drag did not move");
        return QuickText(side, note.identity, *slot);
    }

    // The note's quick settings: its text becomes a marker, 确定 saves.
    bool QuickText(ProgramSide& side, const std::string& identity, Point at) {
        if (!OpenQuickSettings(side, at)) return false;
        const std::string text = Marker(side);
        side.Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "ctrl+a"});  // from 确定 to the text
        side.Xdotool({"type", "--delay", "30", text});
        side.Keys({"shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab"});
        StillArrived(side, identity);
        side.Keys({"space"});
        ledger_.Made({SoakEdit::Text, side.Name(), identity, text, 0, 0, 0, arrived_});
        return side.WaitFor(5000, [&] { return !side.DialogShown("Setting"); }) ||
               Report(side, "the quick settings stayed");
    }

    // The manager opened from the note's quick settings, on that note: 删除便签.
    bool Delete(ProgramSide& side, const NoteRecord& note) {
        if (!OpenQuickSettings(side, {note.positionX, note.positionY})) return false;
        side.Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"});  // 管理界面
        if (!side.WaitFor(5000, [&] { return side.DialogShown("SettingManager") && !side.DialogShown("Setting"); }))
            return Report(side, "the manager did not open");
        Sleep(300);
        side.Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab"});  // from its text to 删除便签
        StillArrived(side, note.identity);
        side.Keys({"space"});
        ledger_.Made({SoakEdit::Delete, side.Name(), note.identity, {}, 0, 0, 0, arrived_});
        Sleep(500);
        side.Keys({"Escape"});
        return side.WaitFor(5000, [&] { return !side.DialogShown("SettingManager"); }) ||
               Report(side, "the manager stayed");
    }

    bool OpenQuickSettings(ProgramSide& side, Point at) {
        const std::optional<ProgramSide::Window> window = side.NoteWindowAt(at);
        if (!window || !window->painted) return Report(side, "no note window at its place");
        side.DoubleClick(*window->painted);
        if (!side.WaitFor(5000, [&] { return side.DialogShown("Setting"); })) return Report(side, "no quick settings");
        Sleep(300);
        return true;
    }

    // The file edited by hand while the program runs: in place, in two pieces a moment apart, or replaced.
    bool HandText(ProgramSide& side, NoteState file, const std::string& identity, bool inPlace) {
        const std::string text = Marker(side);
        for (NoteRecord& note : file.table.rows)
            if (note.identity == identity) note.text = text;
        ledger_.Made({SoakEdit::Text, side.Name(), identity, text, 0, 0, 0, arrived_});
        return WriteByHand(side, EncodeSettingsText(SerializeSettings(file)), inPlace);
    }

    bool HandAdd(ProgramSide& side, const NoteState& file) {
        const std::optional<Point> slot = FreeSlot(side, file);
        if (!slot) return true;
        const std::string text = Marker(side), id = NewNoteIdentity();
        ledger_.Made({SoakEdit::Add, side.Name(), id, text});
        return WriteByHand(side, ReadBytes(side.Path()) + BlockNote(99, *slot, id, text), false);
    }

    static bool WriteByHand(const ProgramSide& side, const std::string& bytes, bool inPlace) {
        if (!inPlace) return WriteFileAtomically(side.Path(), bytes);
        const int fd = open(side.Path().c_str(), O_WRONLY | O_TRUNC);
        const size_t half = bytes.size() / 2;
        const bool written = fd >= 0 && write(fd, bytes.data(), half) == ssize_t(half);
        Sleep(300);
        const bool rest =
            fd >= 0 && write(fd, bytes.data() + half, bytes.size() - half) == ssize_t(bytes.size() - half);
        if (fd >= 0) close(fd);
        return written && rest;
    }

    // While a dialog was open on the note, the other side's edits of it may have arrived: the user then
    // confirms on what the other side did.
    void StillArrived(const ProgramSide& side, const std::string& identity) {
        arrived_ = arrived_ || Arrived(FileState(side.Path()), identity, side.Name());
    }

    // Whether the other side's edits of this round on the note had reached this side's file: the sync engine
    // is quicker than a user, so an edit made "at the same time" may be made on what the other side did.
    bool Arrived(const NoteState& file, const std::string& identity, const std::string& side) const {
        bool any = false;
        for (const SoakEdit& edit : ledger_.Edits()) {
            if (edit.side == side || edit.identity != identity) continue;
            any = true;
            bool shows = false;
            for (const NoteRecord& note : file.table.rows)
                if (note.identity == identity)
                    shows = edit.kind == SoakEdit::Move ? note.positionX == edit.x && note.positionY == edit.y
                                                        : note.text == edit.text;
            if (!shows) return false;
        }
        return any;
    }

    std::optional<Point> FreeSlot(const ProgramSide& side, const NoteState& file) {
        std::vector<Point> free;
        for (int slot = &side == &a_ ? 0 : kSlots / 2; slot < (&side == &a_ ? kSlots / 2 : kSlots); ++slot) {
            const Point at = Slot(slot);
            bool taken = false;
            for (const NoteRecord& note : file.table.rows)
                taken = taken || (note.positionX == at.x && note.positionY == at.y);
            if (!taken) free.push_back(at);
        }
        if (free.empty()) return std::nullopt;
        return free[size_t(Pick(int(free.size())))];
    }

    // Both files equal, no conflict copy left, every shown note on both desktops where the file says.
    bool Converge(int seconds) {
        int stable = 0;
        for (int waited = 0; waited < seconds * 4; ++waited) {
            Sleep(250);
            const std::string fileA = ReadBytes(a_.Path()), fileB = ReadBytes(b_.Path());
            const bool same = !fileA.empty() && fileA == fileB && FindConflictCopies(a_.Path(), "").empty() &&
                              FindConflictCopies(b_.Path(), "").empty() && Shows(a_) && Shows(b_);
            stable = same ? stable + 1 : 0;
            if (stable >= 8) return true;
        }
        return false;
    }
    static bool Shows(const ProgramSide& side) {
        const NoteState file = FileState(side.Path());
        size_t shown = 0;
        for (const NoteRecord& note : file.table.rows) {
            if (!note.isShow) continue;
            ++shown;
            if (!side.NoteWindowAt({note.positionX, note.positionY})) return false;
        }
        return side.NoteWindows().size() == shown;
    }

    bool Report(const ProgramSide& side, const char* what) {
        std::printf("  round %d, %s: %s\n", round_, side.Name().c_str(), what);
        return false;
    }
    bool Fail(const char* why) {
        std::printf("  round %d: %s\n", round_, why);
        for (ProgramSide* side : {&a_, &b_}) {
            std::printf("--- %s's file:\n", side->Name().c_str());
            for (const NoteRecord& row : FileState(side->Path()).table.rows)
                std::printf("  %s %s %d,%d\n", row.identity.c_str(), row.text.c_str(), row.positionX, row.positionY);
            std::printf("--- %s's windows:", side->Name().c_str());
            for (const ProgramSide::Window& window : side->NoteWindows())
                std::printf(" %d,%d", window.at.x, window.at.y);
            std::printf("\n");
        }
        return false;
    }

    ProgramSide& a_;
    ProgramSide& b_;
    std::mt19937 random_;
    SoakLedger ledger_;
    int round_ = 0, marker_ = 0, restarts_ = 0;
    bool arrived_ = false;  // of the edit being made
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr,
                     "usage: program_soak <folder a> <folder b> <home a> <home b> <display a> <display b> "
                     "[rounds] [seed] [quiet seconds]\n");
        return 2;
    }
    const int rounds = argc > 7 ? std::atoi(argv[7]) : 20;
    const unsigned seed = argc > 8 ? unsigned(std::atoi(argv[8])) : 1;
    const int quiet = argc > 9 ? std::atoi(argv[9]) : 60;
    ProgramSide a("a", argv[1], argv[3], argv[5]), b("b", argv[2], argv[4], argv[6]);
    std::string notes;
    for (int i = 0; i < 5; ++i)
        notes += BlockNote(i, Slot(i < 3 ? i : i + 3), NewNoteIdentity(), "a" + std::to_string(i));
    WriteBytes(a.Path(), notes);
    if (!ProgramSide::WaitFor(60000, [&] { return ReadBytes(b.Path()) == notes; })) {
        std::printf("the first file never reached the other side\n");
        return 1;
    }
    if (!a.Start() || !b.Start()) {
        std::printf("a program did not start\n");
        return 1;
    }
    ProgramSoak soak(a, b, seed);
    int converged = 0;
    for (int round = 1; round <= rounds && soak.Round(round); ++round) {
        ++converged;
        std::printf("round %2d: %zu notes, both sides equal\n", round, FileState(a.Path()).table.rows.size());
        std::fflush(stdout);
    }
    const bool quietHeld = converged == rounds && soak.Quiet(quiet);
    a.Stop();
    b.Stop();
    std::printf("rounds: %d of %d, edits: %d, losses: %d, restarts: %d, quiet for %d s: %s\n", converged, rounds,
                soak.Ledger().EditCount(), soak.Ledger().Losses(), soak.Restarts(), quiet, quietHeld ? "yes" : "no");
    return converged == rounds && soak.Ledger().Losses() == 0 && quietHeld ? 0 : 1;
}
