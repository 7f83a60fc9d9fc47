#pragma once

#include <string>

#include "manager/NoteManager.h"

// The quick settings dialog of one note. It owns only its pending appearance, picked for its own note;
// every command names that note to the manager, found afresh each time, so that it never acts on
// another one.
class QuickSettings {
public:
    QuickSettings(NoteManager& manager, const NoteWindow& note);

    // What the dialog shows when it opens. Not valid when the note has no row: close at once then.
    struct Initial {
        bool valid = false;
        EditableText text;
        bool autoStart = false;
        bool topMost = false;
    };
    Initial Init();

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

    int NoteIndex() const { return manager_.RowOfWindow(&note_); }
    const Appearance& Pending() const { return m_pending; }

private:
    bool ChooseAndPreview(NoteManager::Chooser choose);

    NoteManager& manager_;
    const NoteWindow& note_;
    Appearance m_pending;
};
