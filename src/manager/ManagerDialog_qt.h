#pragma once

#include <QDialog>

#include "manager/ManagerViews.h"
#include "manager/ManagerPresenter.h"
#include "manager/NoteManager.h"

class QCheckBox;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The manager dialog: hidden most of the time, no task bar entry. It holds the notes' owner and its own
// presenter, turns its controls' events into the presenter's calls and shows what both ask of it.
class CSkyslate2Dlg : public QDialog, public ManagerView, public NoteListView {
public:
    explicit CSkyslate2Dlg(NoteManager::Services services);

    NoteManager& Notes() { return notes_; }
    ManagerPresenter& Presenter() { return presenter_; }

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
    NoteManager notes_;
    ManagerPresenter presenter_;
};

// Puts a dialog in the middle of the screen it is on (the manager is hidden, so not over its parent).
void CenterOnScreen(QWidget& dialog);

// What an edit shows of a note, in the user's language.
QString EditContent(const EditableText& text);
