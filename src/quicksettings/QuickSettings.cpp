#include "quicksettings/QuickSettings.h"

#include "store/NoteText.h"

namespace {
constexpr bool kEnds = true;
constexpr bool kStaysOpen = false;
}  // namespace

QuickSettings::QuickSettings(NoteManager& manager, const NoteWindow& note) : manager_(manager), note_(note) {}

QuickSettings::Initial QuickSettings::Init() {
    const int row = NoteIndex();
    Initial initial;
    if (row < 0) return initial;
    const NoteRecord& record = manager_.Record(row);
    initial.valid = true;
    initial.text = TextForEdit(record);
    initial.autoStart = manager_.AutoStart();
    initial.topMost = record.isTopWin;
    m_pending = AppearanceOf(record);
    return initial;
}

bool QuickSettings::Ok(const std::string& editText) {
    manager_.ConfirmChanges(NoteIndex(), editText, m_pending);
    return kEnds;
}

bool QuickSettings::Cancel() {
    manager_.DropPreview(NoteIndex());  // this dialog's preview, and only that
    return kEnds;
}

bool QuickSettings::Hide() {
    manager_.HideNote(NoteIndex());
    manager_.DropPreview(NoteIndex());  // the dialog ends: nobody holds its preview any more
    return kEnds;
}

bool QuickSettings::ChooseNoteColor() { return ChooseAndPreview(&NoteManager::ChooseColor); }

bool QuickSettings::ChooseNoteFont() { return ChooseAndPreview(&NoteManager::ChooseFont); }

// The picker is modal: the note's row is found again once it closes.
bool QuickSettings::ChooseAndPreview(NoteManager::Chooser choose) {
    if (NoteIndex() < 0) return kEnds;
    if (const std::optional<Appearance> chosen = (manager_.*choose)(m_pending)) {
        m_pending = *chosen;
        manager_.PreviewNote(NoteIndex(), m_pending);
    }
    return kStaysOpen;
}

bool QuickSettings::OpenManager() {
    manager_.ShowManagerOn(NoteIndex(), m_pending);
    return kEnds;
}

bool QuickSettings::Exit() {
    // After a failed save the program stays, and so does the dialog, for another try.
    return manager_.ExitProgram() ? kEnds : kStaysOpen;
}

bool QuickSettings::SetAutoStart(bool checked) {
    manager_.ApplyAutoStart(checked);
    return kStaysOpen;
}

bool QuickSettings::SetTopMost(bool checked) {
    const int row = NoteIndex();
    if (row < 0) return kEnds;
    manager_.ApplyTopMost(row, checked);
    return kStaysOpen;
}
