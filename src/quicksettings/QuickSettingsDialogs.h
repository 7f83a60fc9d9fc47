#pragma once

#include <algorithm>
#include <vector>

#include "manager/ManagerPresenter.h"
#include "manager/NoteManager.h"

// The quick settings dialogs: at most one per note, and what one of them changes for the whole program
// shows in every open one.
class QuickSettingsDialogs {
public:
    QuickSettingsDialogs(NoteManager& notes, ManagerPresenter& manager) : notes_(notes), manager_(manager) {}
    QuickSettingsDialogs(const QuickSettingsDialogs&) = delete;
    QuickSettingsDialogs& operator=(const QuickSettingsDialogs&) = delete;

    // Runs the note's dialog unless one is open for that note already, which the user is told.
    template <typename RunDialog>
    void Open(const NoteWindow& note, RunDialog runDialog) {
        const int row = notes_.RowOfWindow(&note);
        if (row < 0) return;
        if (!notes_.BeginSettingsDialog(row)) {
            notes_.MessagesToUse().ShowMessage(text::kSettingAlreadyOpen);
            return;
        }
        runDialog();
        notes_.EndSettingsDialog(note);
    }

    // An open dialog's view, listed for as long as it lives.
    class Listing {
    public:
        Listing(QuickSettingsDialogs& dialogs, QuickSettingsView& view) : dialogs_(dialogs), view_(view) {
            dialogs_.views_.push_back(&view_);
        }
        ~Listing() {
            auto& views = dialogs_.views_;
            views.erase(std::remove(views.begin(), views.end(), &view_), views.end());
        }
        Listing(const Listing&) = delete;
        Listing& operator=(const Listing&) = delete;

    private:
        QuickSettingsDialogs& dialogs_;
        QuickSettingsView& view_;
    };

    void ShowAutoStart() {
        for (QuickSettingsView* view : views_) view->SetAutoStartCheck(notes_.AutoStart());
    }

    NoteManager& Notes() const { return notes_; }
    ManagerPresenter& Manager() const { return manager_; }

private:
    NoteManager& notes_;
    ManagerPresenter& manager_;
    std::vector<QuickSettingsView*> views_;
};
