#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "frontend/FrontEnd.h"
#include "manager/ManagerPresenter.h"
#include "manager/NoteManager.h"
#include "winui/Window_win32.h"

// The manager dialog (template 102): hidden until asked for, so that it never flashes at start-up and
// never hands the focus to a note when it hides; no taskbar button. It turns its controls'
// events into the calls of its presenter and of the notes' owner, and shows what both ask of it.
class CSkyslate2Dlg : public DialogBase, public ManagerView, public NoteListView {
public:
    // Where the controls' events go; before the dialog is created.
    void Attach(ManagerPresenter& presenter, NoteManager& notes) {
        presenter_ = &presenter;
        notes_ = &notes;
    }
    // The session ends (WM_QUERYENDSESSION): whatever it needs is done before this returns.
    std::function<void()> onSessionEnd;
    // Messages the dialog has no use for go here first (the tray's, display changes); true when taken.
    std::function<bool(UINT, WPARAM, LPARAM)> otherMessages;

    void SetEditText(const EditableText& text) override;
    void SetAutoStartCheck(bool checked) override;
    void SetLockCheck(bool checked) override;
    void SetTopMostCheck(bool checked) override;
    void InsertListRow(int index, const std::string& label, bool checked) override;
    void SetListRowText(int index, const std::string& label) override;
    void SetListCheck(int index, bool checked) override;
    void DeleteListRow(int index) override;
    void SelectListRow(int index) override;
    void ShowManager(bool visible) override;
    void ReadyForTyping() override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    bool OnCommand(int id);
    void OnListItemChanged(const NMLISTVIEW& change);
    HWND List() const { return Item(1008); }

    ManagerPresenter* presenter_ = nullptr;
    NoteManager* notes_ = nullptr;
    bool listDrawn_ = false;  // the list draws once the manager has shown
};
