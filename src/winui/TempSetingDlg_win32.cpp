#include "winui/TempSetingDlg_win32.h"

#include "resource.h"
#include "winui/Texts_win32.h"

void TempSetingDlg::SetAutoStartCheck(bool checked) { SetChecked(IDC_QS_AUTOSTART, checked); }

void TempSetingDlg::OnInitDialog() {
    const QuickSettings::Initial initial = settings_.Init();
    if (!initial.valid) {
        End(IDCANCEL);  // a window without a row: nothing to edit
        return;
    }
    SetEditControlText(Item(IDC_QS_EDIT), EditContent(initial.text), initial.text.editable);
    SetChecked(IDC_QS_AUTOSTART, initial.autoStart);
    SetChecked(IDC_QS_TOPMOST, initial.topMost);
}

INT_PTR TempSetingDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;  // focus goes to the first control, "确定"
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
        case WM_CLOSE:
            if (settings_.Cancel()) End(IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

bool TempSetingDlg::OnCommand(int id) {
    bool ends = false;
    INT_PTR result = IDCANCEL;
    switch (id) {
        case IDOK:
            ends = settings_.Ok(EditControlText(Item(IDC_QS_EDIT)));
            result = IDOK;
            break;
        case IDCANCEL: ends = settings_.Cancel(); break;
        case IDC_QS_HIDE: ends = settings_.Hide(); break;
        case IDC_QS_COLOR: ends = settings_.ChooseNoteColor(); break;
        case IDC_QS_FONT: ends = settings_.ChooseNoteFont(); break;
        case IDC_QS_MANAGER: ends = settings_.OpenManager(); break;
        case IDC_QS_EXIT: ends = settings_.Exit(); break;
        case IDC_QS_AUTOSTART: ends = settings_.SetAutoStart(IsChecked(IDC_QS_AUTOSTART)); break;
        case IDC_QS_TOPMOST: ends = settings_.SetTopMost(IsChecked(IDC_QS_TOPMOST)); break;
        default: return false;
    }
    if (ends) End(result);
    return true;
}

void OpenQuickSettings(CLyricsWindow& note, QuickSettingsDialogs& dialogs, HWND managerWindow) {
    dialogs.Open(note, [&] {
        TempSetingDlg dialog(dialogs, note);
        dialog.RunModal(IDD_QUICKSETTINGS, managerWindow);
    });
}
