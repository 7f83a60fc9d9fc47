#pragma once

#include "manager/ManagerViews.h"
#include "manager/NoteManager.h"
#include "winui/Window_win32.h"

// The manager dialog (template 102): hidden most of the time, no taskbar button. It turns its controls'
// events into calls of the NoteManager and carries out what the manager asks of its controls.
class CSkyslate2Dlg : public DialogBase, public ManagerView {
public:
    CSkyslate2Dlg(NoteWindowFactory& windows, Pickers& pickers, Messages& messages, AutostartStore& autostart,
                  AppControl& app, std::string settingsPath);

    NoteManager& Manager() { return manager_; }

    void SetEditText(const std::string& text) override;
    std::string EditText() const override;
    void SetAutoStartCheck(bool checked) override;
    bool AutoStartCheck() const override;
    void SetTopMostCheck(bool checked) override;
    bool TopMostCheck() const override;
    void InsertListRow(int index, const std::string& label) override;
    void SetListRowText(int index, const std::string& label) override;
    void SetListCheck(int index, bool checked) override;
    void DeleteListRow(int index) override;
    int ListRowCount() const override;
    void SelectListRow(int index) override;
    void ShowManager(bool visible) override;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog();
    bool OnCommand(int id);
    void OnNoteListClick();
    void SyncListChecks();
    HWND List() const { return Item(1008); }

    NoteManager manager_;
};
