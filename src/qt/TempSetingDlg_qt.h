#pragma once

#include <QDialog>

#include "frontend/FrontEnd.h"
#include "quicksettings/QuickSettings.h"

class QCheckBox;
class QPlainTextEdit;

// The quick settings dialog of one note, run modally.
class TempSetingDlg : public QDialog, public QuickSettingsView {
public:
    TempSetingDlg(QuickSettingsDialogs& dialogs, NoteWindow& note, QWidget* owner);
    // Runs the dialog; closes at once when the note has no row.
    void Run();

protected:
    void reject() override;
    void SetAutoStartCheck(bool checked) override;  // Esc and the close box: every note drawn again from its row

private:
    void BuildLayout();
    void Finish(bool ends, int result = QDialog::Rejected);

    QuickSettings settings_;
    QPlainTextEdit* edit_;
    QCheckBox* autoStart_;
    QCheckBox* topMost_;
    QuickSettingsDialogs::Listing listing_;
};

// Opens the note's quick settings dialog, or says that it is open already.
void OpenQuickSettings(NoteWindow& note, QuickSettingsDialogs& dialogs, QWidget* owner);
