#pragma once

#include "winui/LyricsWindow_win32.h"
#include "quicksettings/QuickSettings.h"
#include "winui/Window_win32.h"

// The quick settings dialog (template 130) of one note, run modally over the manager.
class TempSetingDlg : public DialogBase, public QuickSettingsView {
public:
    TempSetingDlg(QuickSettingsDialogs& dialogs, CLyricsWindow& note)
        : settings_(dialogs, note), listing_(dialogs, *this) {}
    void SetAutoStartCheck(bool checked) override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    bool OnCommand(int id);

    QuickSettings settings_;
    QuickSettingsDialogs::Listing listing_;
};

// Opens the note's quick settings dialog, or says that it is open already.
void OpenQuickSettings(CLyricsWindow& note, QuickSettingsDialogs& dialogs, HWND managerWindow);
