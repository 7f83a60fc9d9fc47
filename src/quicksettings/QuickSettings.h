#pragma once

#include <string>

#include "quicksettings/QuickSettingsDialogs.h"

// The quick settings dialog of one note. It holds no state of its own: its note is found afresh from
// its window for every command, so that it never acts on another one, and what it picks is a preview
// held on the note. Commands that concern the manager dialog go through the manager's presenter.
class QuickSettings {
public:
    QuickSettings(QuickSettingsDialogs& dialogs, const NoteWindow& note);

    // What the dialog shows when it opens. Not valid when the note has no row: close at once then.
    struct Initial {
        bool valid = false;
        EditableText text;
        bool autoStart = false;
        bool topMost = false;
    };
    Initial Init() const;

    // Each command returns whether the dialog ends now.
    bool Ok(const std::string& editText);
    bool Cancel();
    bool Hide();
    bool ChooseNoteColor();
    bool ChooseNoteFont();
    bool OpenManager();
    bool Exit();
    bool SetAutoStart(bool checked);
    bool SetTopMost(bool checked);

    int NoteIndex() const { return notes_.RowOfWindow(&note_); }
    // What "确定" stores: what the note shows.
    Appearance Pending() const { return notes_.ShownAppearance(NoteIndex()); }

private:
    template <typename Choose>
    bool ChooseAndPreview(Choose choose);

    QuickSettingsDialogs& dialogs_;
    NoteManager& notes_;
    const NoteWindow& note_;
};
