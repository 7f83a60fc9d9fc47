// Two copies of the program's notes, each on its own folder, kept in step by a real sync engine (started by
// bench/sync_soak.sh). Each side is the program's own owner of the notes, its manager and its folder watch,
// over fake note windows. Rounds of edits on both sides (texts, moves, adds, deletes; some at the same
// time), with a sync after each; after each round both files must be equal and no edit may be lost.
//   sync_soak <folder a> <folder b> <data folder> [rounds] [seed]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "Fakes.h"
#include "SoakLedger.h"
#include "FileHelpers.h"
#include "qt/Services_qt.h"
#include "qt/SettingsWatch_qt.h"
#include "manager/ManagerPresenter.h"
#include "store/NotesMerge.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"
#include "store/SharedFiles.h"

namespace {

struct Side : FakeFrontEnd {
    std::string name, folder;
    std::unique_ptr<NoteManager> notes;
    std::unique_ptr<ManagerPresenter> presenter;
    std::unique_ptr<SettingsWatch> watch;

    Side(std::string n, std::string f, const std::string& data) : name(std::move(n)), folder(std::move(f)) {
        dataFolder = data + "/" + name;
    }
    std::string Path() const { return folder + "/" + kSettingsFileName; }
    SystemClock realClock;  // the sync engine takes real time: so do the waits for its files
    std::unique_ptr<QtWakeup> lookAgain;

    void Start() {
        lookAgain = std::make_unique<QtWakeup>([this] { presenter->ReloadNotes(); });
        notes = std::make_unique<NoteManager>(
            view, NoteManager::Services{factory, screens, pickers, messages, autostart, app, log, realClock, *lookAgain,
                                        Path(), dataFolder, UiLanguage::Chinese, name, SettleTimes{}});
        factory.onUserPlaced = [this](NoteWindow& window, const WindowRect& rect) { notes->OnUserPlaced(window, rect); };
        presenter = std::make_unique<ManagerPresenter>(view, *notes);
        presenter->Start();
        watch = std::make_unique<SettingsWatch>(Path(), [this] { presenter->ReloadNotes(); });
    }
    NoteState Held() const {
        NoteState state;
        for (size_t i = 0; i < notes->NoteCount(); ++i) state.table.rows.push_back(notes->Record(int(i)));
        state.m_autoStart = notes->AutoStart();
        state.m_locked = notes->Locked();
        return state;
    }
};

NoteState FileState(const std::string& path) {
    NoteState state;
    LoadSettingsFromText(state, DecodeSettingsBytes(ReadBytes(path)));
    return state;
}

void Pump(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
}

// Both files equal, no conflict copy left, each side holding what its file holds, for a while.
bool Converge(Side& a, Side& b, int seconds) {
    QElapsedTimer timer;
    timer.start();
    int stable = 0;
    while (timer.elapsed() < seconds * 1000) {
        Pump(250);
        const std::string fileA = ReadBytes(a.Path()), fileB = ReadBytes(b.Path());
        const bool same = !fileA.empty() && fileA == fileB && FindConflictCopies(a.Path(), "").empty() &&
                          FindConflictCopies(b.Path(), "").empty() && SameNotes(a.Held(), FileState(a.Path())) &&
                          SameNotes(b.Held(), FileState(b.Path()));
        stable = same ? stable + 1 : 0;
        if (stable >= 8) return true;
    }
    return false;
}

class Soak {
public:
    Soak(Side& a, Side& b, unsigned seed) : a_(a), b_(b), random_(seed) {}

    // One round: every side edits (at the same time, or one after the other with a sync between).
    bool Round(int round) {
        round_ = round;
        ledger_.StartRound(round);
        const NoteState before = FileState(a_.Path());
        const bool together = round % 2 == 0;
        EditSome(a_);
        if (!together && !Converge(a_, b_, 60)) return Fail("the sides did not agree after a's edits");
        if (!together) ledger_.NextEpoch();
        EditSome(b_);
        if (!Converge(a_, b_, 90)) return Fail("the sides did not agree");
        ledger_.Check(before, FileState(a_.Path()));
        return true;
    }
    int Edits() const { return ledger_.EditCount(); }
    int Losses() const { return ledger_.Losses(); }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    void EditSome(Side& side) {
        for (int n = 1 + Pick(3); n > 0; --n) {
            const int count = int(side.notes->NoteCount());
            const int row = Pick(count);
            const int kind = Pick(10);
            if (kind < 4) SetText(side, row);
            else if (kind < 7) MoveNote(side, row);
            else if (kind < 9 || count <= 3) AddNote(side);
            else
                DeleteNote(side, row);
        }
    }
    std::string Marker(const Side& side) { return side.name + "-r" + std::to_string(round_) + "-" + std::to_string(++marker_); }
    void SetText(Side& side, int row) {
        const std::string text = Marker(side);
        side.presenter->SelectNote(row);
        side.presenter->ConfirmChanges(text);
        ledger_.Made({SoakEdit::Text, side.name, IdentityOfText(side, text), text});
    }
    void MoveNote(Side& side, int row) {
        FakeWindow* window = static_cast<FakeWindow*>(side.notes->WindowOf(row));
        const int x = 10 * Pick(100), y = 10 * Pick(60);
        window->MoveTo(x, y);
        const std::string identity = side.notes->Record(row).identity;
        side.notes->SyncNotes();  // the user's next change saves the move with it
        side.notes->SaveSettings();
        ledger_.Made({SoakEdit::Move, side.name, identity, {}, x, y});
    }
    void AddNote(Side& side) {
        side.notes->AddNote();
        const std::string text = Marker(side);
        side.presenter->SelectNote(int(side.notes->NoteCount()) - 1);
        side.presenter->ConfirmChanges(text);
        ledger_.Made({SoakEdit::Add, side.name, IdentityOfText(side, text), text});
    }
    void DeleteNote(Side& side, int row) {
        const std::string identity = side.notes->Record(row).identity;
        side.presenter->SelectNote(row);
        side.presenter->DeleteNote();
        ledger_.Made({SoakEdit::Delete, side.name, identity, {}});
    }
    static std::string IdentityOfText(const Side& side, const std::string& text) {
        for (size_t i = 0; i < side.notes->NoteCount(); ++i)
            if (side.notes->Record(int(i)).text == text) return side.notes->Record(int(i)).identity;
        return {};
    }

    bool Fail(const char* why) {
        std::printf("  round %d: %s\n", round_, why);
        for (Side* side : {&a_, &b_}) {
            std::printf("--- %s holds:\n", side->name.c_str());
            for (const NoteRecord& row : side->Held().table.rows)
                std::printf("  %s %s %d,%d\n", row.identity.c_str(), row.text.c_str(), row.positionX, row.positionY);
            std::printf("--- its file:\n");
            for (const NoteRecord& row : FileState(side->Path()).table.rows)
                std::printf("  %s %s %d,%d\n", row.identity.c_str(), row.text.c_str(), row.positionX, row.positionY);
            for (const ConflictCopy& copy : FindConflictCopies(side->Path(), ""))
                std::printf("  copy: %s\n", copy.path.c_str());
            std::printf("--- its log:\n");
            for (const std::string& line : side->log.lines) std::printf("  %s\n", line.c_str());
        }
        return false;
    }

    Side& a_;
    Side& b_;
    std::mt19937 random_;
    SoakLedger ledger_;
    int round_ = 0, marker_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: sync_soak <folder a> <folder b> <data folder> [rounds] [seed]\n");
        return 2;
    }
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 20;
    const unsigned seed = argc > 5 ? unsigned(std::atoi(argv[5])) : 1;
    Side a("a", argv[1], argv[3]), b("b", argv[2], argv[3]);
    a.Start();
    a.notes->SaveSettings();  // every note has its identity before the other side reads the file
    QElapsedTimer waited;
    waited.start();
    while (ReadBytes(b.Path()).empty() && waited.elapsed() < 60000) Pump(200);
    if (ReadBytes(b.Path()).empty()) {  // the first-run note reaches b's folder before b starts
        std::printf("the first file never reached the other side\n");
        return 1;
    }
    b.Start();
    Soak soak(a, b, seed);
    int converged = 0;
    for (int round = 1; round <= rounds; ++round) {
        if (!soak.Round(round)) break;
        ++converged;
        std::printf("round %2d: %zu notes, both sides equal\n", round, a.notes->NoteCount());
        std::fflush(stdout);
    }
    a.notes->EndSession();
    b.notes->EndSession();
    std::printf("rounds: %d of %d, edits: %d, losses: %d\n", converged, rounds, soak.Edits(), soak.Losses());
    return converged == rounds && soak.Losses() == 0 ? 0 : 1;
}
