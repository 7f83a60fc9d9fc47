#pragma once

#include <string>

#include "manager/NoteManager.h"

// The quick settings dialog of one note. It owns nothing: every command makes its note the manager's
// current note and runs the manager's own handler.
class QuickSettings {
public:
    QuickSettings(NoteManager& manager, NoteWindow& note);

    // What the dialog shows when it opens. Not valid when the note has no row: close at once then.
    struct Initial {
        bool valid = false;
        std::string text;  // CR LF line breaks
        bool autoStart = false;
        bool topMost = false;
    };
    // Finds the note's row and loads the manager's pending values from it.
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

    int NoteIndex() const { return m_nNoteIndex; }

private:
    bool Valid() const { return manager_.IsRow(m_nNoteIndex); }

    NoteManager& manager_;
    NoteWindow& note_;
    int m_nNoteIndex = -1;
};
