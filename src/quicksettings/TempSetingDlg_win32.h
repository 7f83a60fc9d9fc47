#pragma once

#include "notewindow/LyricsWindow_win32.h"
#include "quicksettings/QuickSettings.h"
#include "winui/Window_win32.h"

// The quick settings dialog (template 130) of one note, run modally over the manager.
class TempSetingDlg : public DialogBase {
public:
    TempSetingDlg(NoteManager& manager, CLyricsWindow& note) : settings_(manager, note) {}

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    bool OnCommand(int id);

    QuickSettings settings_;
};

// Opens the note's quick settings dialog, or says that it is open already.
void OpenQuickSettings(CLyricsWindow& note, NoteManager& manager, Messages& messages, HWND managerWindow);
