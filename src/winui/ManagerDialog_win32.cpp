#include "winui/ManagerDialog_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "manager/Help.h"
#include "store/Wide_win32.h"
#include "winui/Texts_win32.h"
#include "resource.h"

namespace {
constexpr UINT kChecked = INDEXTOSTATEIMAGEMASK(2);
}  // namespace

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
    // The list fills while nobody sees it: it draws from the first time the manager shows.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
}

INT_PTR CSkyslate2Dlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            if (OnCommand(LOWORD(wParam))) return TRUE;
            break;
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != IDC_NOTE_LIST || header->code != LVN_ITEMCHANGED) return FALSE;
            OnListItemChanged(*reinterpret_cast<const NMLISTVIEW*>(lParam));
            SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, 0);
            return TRUE;
        }
        case WM_QUERYENDSESSION:
            if (onSessionEnd) onSessionEnd();
            SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        default:
            break;
    }
    return otherMessages && otherMessages(message, wParam, lParam) ? TRUE : FALSE;
}

bool CSkyslate2Dlg::OnCommand(int id) {
    if (!presenter_) return false;
    switch (id) {
        case IDC_CONFIRM: presenter_->ConfirmChanges(EditControlText(Item(IDC_TEXT_EDIT))); return true;
        case IDC_PICK_COLOR: presenter_->PickColor(); return true;
        case IDC_PICK_FONT: presenter_->PickFont(); return true;
        case IDC_CLOSE: notes_->ExitProgram(); return true;
        case IDC_CANCEL: presenter_->HideManager(); return true;
        case IDCANCEL: presenter_->OnManagerKey(ManagerKey::Escape); return true;
        case IDOK: presenter_->OnManagerKey(ManagerKey::Enter); return true;
        case IDC_ADD_NOTE: presenter_->AddNote(); return true;
        case IDC_DELETE_NOTE: presenter_->DeleteNote(); return true;
        case IDC_AUTOSTART: presenter_->ApplyAutoStart(IsChecked(IDC_AUTOSTART)); return true;
        case IDC_TOPMOST: presenter_->ApplyTopMost(IsChecked(IDC_TOPMOST)); return true;
        case IDC_LOCK: presenter_->ApplyLock(IsChecked(IDC_LOCK)); return true;
        case IDC_SHOW_HELP: ShowHelp(*notes_); return true;
        default: return false;
    }
}

// A row's check box changed (by the mouse, the space bar or the program), or its selection did.
void CSkyslate2Dlg::OnListItemChanged(const NMLISTVIEW& change) {
    if (!presenter_ || change.iItem < 0 || !(change.uChanged & LVIF_STATE)) return;
    const UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
    const UINT newImage = change.uNewState & LVIS_STATEIMAGEMASK;
    if (oldImage != newImage && oldImage != 0 && newImage != 0)
        presenter_->OnNoteListCheck(change.iItem, newImage == kChecked);
    if ((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED)) presenter_->SelectNote(change.iItem);
}

void CSkyslate2Dlg::SetEditText(const EditableText& text) {
    SetEditControlText(Item(IDC_TEXT_EDIT), EditContent(text), text.editable);
}

void CSkyslate2Dlg::SetAutoStartCheck(bool checked) { SetChecked(IDC_AUTOSTART, checked); }

void CSkyslate2Dlg::SetLockCheck(bool checked) { SetChecked(IDC_LOCK, checked); }

void CSkyslate2Dlg::SetTopMostCheck(bool checked) { SetChecked(IDC_TOPMOST, checked); }

void CSkyslate2Dlg::InsertListRow(int index, const std::string& label, bool checked) {
    std::wstring text = Widen(label);
    // Text and check box in one message: a list of many notes fills at start-up.
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_STATE;
    item.iItem = index;
    item.pszText = text.data();
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    item.stateMask = LVIS_STATEIMAGEMASK;
    ListView_InsertItem(List(), &item);
}

void CSkyslate2Dlg::SetListRowText(int index, const std::string& label) {
    std::wstring text = Widen(label);
    ListView_SetItemText(List(), index, 0, text.data());
}

void CSkyslate2Dlg::SetListCheck(int index, bool checked) {
    if (bool(ListView_GetCheckState(List(), index)) != checked) ListView_SetCheckState(List(), index, checked);
}

void CSkyslate2Dlg::DeleteListRow(int index) { ListView_DeleteItem(List(), index); }

void CSkyslate2Dlg::SelectListRow(int index) {
    const UINT state = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(List(), index, state, state);
    ListView_EnsureVisible(List(), index, FALSE);
}

void CSkyslate2Dlg::ReadyForTyping() {
    const HWND edit = GetDlgItem(hwnd(), IDC_TEXT_EDIT);
    SendMessageW(hwnd(), WM_NEXTDLGCTL, WPARAM(edit), TRUE);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void CSkyslate2Dlg::ShowManager(bool visible) {
    if (visible && !listDrawn_) {
        SendMessageW(List(), WM_SETREDRAW, TRUE, 0);
        InvalidateRect(List(), nullptr, TRUE);
        listDrawn_ = true;
    }
    ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
    if (!visible) return;
    RaiseDialogsAboveNotes();
    SetForegroundWindow(hwnd());
}
