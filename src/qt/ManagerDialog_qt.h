#pragma once

#include <QDialog>

#include "frontend/FrontEnd.h"
#include "manager/ManagerPresenter.h"
#include "manager/NoteManager.h"

class QCheckBox;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The manager dialog: hidden most of the time, no task bar entry. It turns its controls' events into the
// calls of its presenter and of the notes' owner, and shows what both ask of it.
class CSkyslate2Dlg : public QDialog, public ManagerView, public NoteListView {
public:
    CSkyslate2Dlg();
    // Where the controls' events go; before the dialog is first shown.
    void Attach(ManagerPresenter& presenter, NoteManager& notes);

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
    // Esc hides the manager instead of ending anything; Enter outside the edit does nothing.
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildLayout();
    std::string EditText() const;

    QPlainTextEdit* edit_;
    QCheckBox* autoStart_;
    QCheckBox* topMost_;
    QCheckBox* lock_;
    QTreeWidget* list_;
    bool placed_ = false;
    ManagerPresenter* presenter_ = nullptr;
    NoteManager* notes_ = nullptr;
};

