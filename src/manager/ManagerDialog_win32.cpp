#include "manager/ManagerDialog_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "winui/Wide_win32.h"
#include "resource.h"

namespace {
// Posted after a check-box click, so the boxes follow the notes once the list has flipped its box.
constexpr UINT kSyncListChecks = WM_APP + 1;
}  // namespace

CSkyslate2Dlg::CSkyslate2Dlg(NoteWindowFactory& windows, Pickers& pickers, Messages& messages,
                             AutostartStore& autostart, AppControl& app, std::string settingsPath)
    : manager_({*this, windows, pickers, messages, autostart, app, std::move(settingsPath)}) {}

void CSkyslate2Dlg::OnInitDialog() {
    // No taskbar button.
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd(), GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, (exStyle & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW);

    HWND list = List();
    const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    SetWindowLongPtrW(list, GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    ListView_SetExtendedListViewStyle(
        list, ListView_GetExtendedListViewStyle(list) | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<wchar_t*>(L"Text List");
    column.cx = 100;
    ListView_InsertColumn(list, 0, &column);
    RECT client;
    GetClientRect(list, &client);
    ListView_SetColumnWidth(list, 0, client.right - client.left);

    manager_.Start();
}

INT_PTR CSkyslate2Dlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_PAINT:
            if (manager_.HideOnPaint()) ShowWindow(hwnd(), SW_HIDE);
            return FALSE;  // the dialog paints itself as usual
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_NOTE_LIST && header->code == NM_CLICK) {
                OnNoteListClick();
                SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, 0);
                return TRUE;
            }
            return FALSE;
        }
        case kSyncListChecks:
            SyncListChecks();
            return TRUE;
        case WM_QUERYENDSESSION:
            manager_.OnQueryEndSession();
            SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        default:
            return FALSE;
    }
}

bool CSkyslate2Dlg::OnCommand(int id) {
    switch (id) {
        case IDC_CONFIRM: manager_.ConfirmChanges(); return true;
        case IDC_PICK_COLOR: manager_.PickColor(); return true;
        case IDC_PICK_FONT: manager_.PickFont(); return true;
        case IDC_CLOSE: manager_.ExitProgram(); return true;
        case IDC_CANCEL:
        case IDCANCEL:  // Esc hides the manager instead of ending the program
            manager_.HideManager();
            return true;
        case IDOK:  // Enter outside the edit does nothing
            return true;
        case IDC_ADD_NOTE: manager_.AddNote(); return true;
        case IDC_DELETE_NOTE: manager_.DeleteNote(); return true;
        case IDC_AUTOSTART: manager_.ApplyAutoStart(); return true;
        case IDC_TOPMOST: manager_.ApplyTopMost(); return true;
        default: return false;
    }
}

void CSkyslate2Dlg::OnNoteListClick() {
    HWND list = List();
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const DWORD pos = GetMessagePos();
    LVHITTESTINFO hit = {};
    hit.pt = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
    ScreenToClient(list, &hit.pt);
    const int row = ListView_HitTest(list, &hit);
    if (row < 0) return;
    const bool onCheckBox = (hit.flags & LVHT_ONITEMSTATEICON) != 0;
    manager_.OnNoteListClick(row, onCheckBox, selected);
    if (onCheckBox) PostMessageW(hwnd(), kSyncListChecks, 0, 0);
}

void CSkyslate2Dlg::SyncListChecks() {
    const NoteTable& table = manager_.State().table;
    for (size_t i = 0; i < table.count() && int(i) < ListRowCount(); ++i) SetListCheck(int(i), table.rows[i].isShow);
}

void CSkyslate2Dlg::SetEditText(const std::string& text) { SetWindowTextUtf8(Item(IDC_TEXT_EDIT), text); }

std::string CSkyslate2Dlg::EditText() const { return WindowTextUtf8(Item(IDC_TEXT_EDIT)); }

void CSkyslate2Dlg::SetAutoStartCheck(bool checked) { SetChecked(IDC_AUTOSTART, checked); }

bool CSkyslate2Dlg::AutoStartCheck() const { return IsChecked(IDC_AUTOSTART); }

void CSkyslate2Dlg::SetTopMostCheck(bool checked) { SetChecked(IDC_TOPMOST, checked); }

bool CSkyslate2Dlg::TopMostCheck() const { return IsChecked(IDC_TOPMOST); }

void CSkyslate2Dlg::InsertListRow(int index, const std::string& label) {
    std::wstring text = Widen(label);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = text.data();
    ListView_InsertItem(List(), &item);
}

void CSkyslate2Dlg::SetListRowText(int index, const std::string& label) {
    std::wstring text = Widen(label);
    ListView_SetItemText(List(), index, 0, text.data());
}

void CSkyslate2Dlg::SetListCheck(int index, bool checked) { ListView_SetCheckState(List(), index, checked); }

void CSkyslate2Dlg::DeleteListRow(int index) { ListView_DeleteItem(List(), index); }

int CSkyslate2Dlg::ListRowCount() const { return ListView_GetItemCount(List()); }

void CSkyslate2Dlg::SelectListRow(int index) {
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(List(), index, state, state);
}

void CSkyslate2Dlg::ShowManager(bool visible) {
    ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
    if (visible) SetForegroundWindow(hwnd());
}
