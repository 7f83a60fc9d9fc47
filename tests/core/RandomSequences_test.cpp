// Seeded random sequences of what a user does in the manager, the quick settings, the tray and on the
// desktop, with what the user must see checked after every step.
#include <random>
#include <sstream>

#include "ManagerFixture.h"
#include "store/NoteText.h"

namespace {

class RandomSequences : public ManagerFixture {
protected:
    int Rows() const { return int(manager->NoteCount()); }
    int AnyRow() { return std::uniform_int_distribution<int>(0, Rows() - 1)(random); }
    bool Coin() { return std::bernoulli_distribution(0.5)(random); }
    std::optional<uint32_t> AnyColour() {
        if (Coin()) return std::nullopt;  // the picker cancelled
        return 0xFF000000u | std::uniform_int_distribution<uint32_t>(0, 0xFFFFFF)(random);
    }
    QuickSettings QuickSettingsOf(int row) { return QuickSettings(*dialogs, *manager->WindowOf(row)); }

    void QuickSettingsStep() {
        QuickSettings dialog = QuickSettingsOf(AnyRow());
        ASSERT_TRUE(dialog.Init().valid);
        pickers.colorAnswers = {AnyColour()};
        switch (std::uniform_int_distribution<int>(0, 5)(random)) {
            case 0: dialog.ChooseNoteColor(); dialog.Ok("quick " + std::to_string(step)); return;
            case 1: dialog.ChooseNoteColor(); dialog.Cancel(); return;
            case 2: dialog.ChooseNoteColor(); dialog.OpenManager(); return;
            case 3: dialog.Hide(); return;
            case 4: dialog.SetTopMost(Coin()); dialog.Cancel(); return;
            default: dialog.SetAutoStart(Coin()); dialog.Cancel(); return;
        }
    }

    void Step() {
        const int action = std::uniform_int_distribution<int>(0, 12)(random);
        const bool inTheManager = action <= 2 || action == 7 || action == 12;
        if (inTheManager && !view.shown) {
            presenter->ShowManager();
            return;
        }
        switch (action) {
            case 0: presenter->SelectNote(AnyRow()); break;
            case 1: presenter->ConfirmChanges("typed " + std::to_string(step) + (Coin() ? "\r\nline" : "")); break;
            case 2: pickers.colorAnswers = {AnyColour()}; presenter->PickColor(); break;
            case 3: presenter->HideManager(); break;
            case 4: presenter->ShowManager(); break;
            case 5: QuickSettingsStep(); break;
            case 6: if (Rows() < 6) manager->AddNote(); break;
            case 7: presenter->DeleteNote(); break;
            case 8: presenter->OnNoteListCheck(AnyRow(), Coin()); break;
            case 9: if (auto* w = WindowOfRow(AnyRow())) w->MoveTo(w->rect.left + 13, w->rect.top + 7); break;
            case 10:
                screens.monitors.resize(Coin() ? 1 : 2, {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}});
                manager->OnMonitorsChanged();
                break;
            case 11: Coin() ? manager->ShowAllNotes() : manager->SetLocked(!manager->Locked()); break;
            default: {  // another note's dialog acts while the manager's picker is open
                const int other = AnyRow();
                pickers.colorAnswers = {AnyColour()};
                pickers.whileOpen = [this, other] {
                    if (Coin()) QuickSettingsOf(other).OpenManager();
                    else QuickSettingsOf(other).Ok("meanwhile");
                };
                presenter->PickColor();
                pickers.whileOpen = nullptr;
            }
        }
    }

    // What the user sees agrees with what the notes hold.
    void ExpectConsistent() {
        ASSERT_EQ(view.rows.size(), manager->NoteCount());
        EXPECT_EQ(view.selected, presenter->Current());
        EXPECT_EQ(view.autoStartCheck, manager->AutoStart());
        EXPECT_EQ(view.lockCheck, manager->Locked());
        EXPECT_EQ(view.topMostCheck, Row(presenter->Current()).isTopWin);
        for (int row = 0; row < Rows(); ++row) {
            const NoteRecord& record = Row(row);
            SCOPED_TRACE("row " + std::to_string(row));
            EXPECT_EQ(view.rows[size_t(row)].label, StoredToListLabel(record.text));
            EXPECT_EQ(view.rows[size_t(row)].checked, record.isShow);
            const FakeWindow* window = WindowOfRow(row);
            EXPECT_EQ(window->visible, record.isShow);
            const std::optional<PreviewHolder> holder = manager->PreviewHolderOf(row);
            // Only the shown manager holds a preview between steps, and only on its current note.
            if (holder) {
                EXPECT_TRUE(*holder == PreviewHolder::Manager && view.shown && row == presenter->Current());
            }
            if (!record.isShow) continue;
            EXPECT_EQ(window->text(), StoredToText(record.text));
            EXPECT_EQ(window->fill(), manager->ShownAppearance(row).color);
        }
    }

    void ExpectFileHoldsTheRows() {
        manager->SyncNotes();  // where the user moved notes since the last command
        std::vector<NoteRecord> rows;
        for (int row = 0; row < Rows(); ++row) rows.push_back(Row(row));
        ASSERT_TRUE(manager->ExitProgram());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(FileValue(i, "text"), rows[i].text);
            EXPECT_EQ(FileValue(i, "isShow"), rows[i].isShow ? "1" : "0");
            EXPECT_EQ(FileValue(i, "positionX"), std::to_string(rows[i].positionX));
        }
    }

    std::mt19937 random;
    int step = 0;
};

}  // namespace

TEST_F(RandomSequences, WhatTheUserSeesAlwaysAgreesWithTheNotesAndTheFile) {
    for (unsigned seed = 1; seed <= 30; ++seed) {
        random.seed(seed);
        view = FakeView{};
        WriteSettings(Note(0, "zero", "color=255,0,0\n") + Note(1, "one") + Note(2, "two", "isShow=0\n"));
        Start();
        for (step = 0; step < 300; ++step) {
            Step();
            messages.shown.clear();
            ExpectConsistent();
            if (HasFailure()) FAIL() << "seed " << seed << ", step " << step;
        }
        ExpectFileHoldsTheRows();
        if (HasFailure()) FAIL() << "seed " << seed << " at the end";
    }
}
