#include "quicksettings/QuickSettings.h"

#include "manager/Choosers.h"

namespace {
constexpr bool kEnds = true;
constexpr bool kStaysOpen = false;
}  // namespace

QuickSettings::QuickSettings(QuickSettingsDialogs& dialogs, const NoteWindow& note)
    : dialogs_(dialogs), notes_(dialogs.Notes()), note_(note) {}

QuickSettings::Initial QuickSettings::Init() const {
    const int row = NoteIndex();
    Initial initial;
    if (row < 0) return initial;
    const NoteRecord& record = notes_.Record(row);
    initial.valid = true;
    initial.text = TextForEdit(record);
    initial.autoStart = notes_.AutoStart();
    initial.topMost = record.isTopWin;
    return initial;
}

bool QuickSettings::Ok(const std::string& editText) {
    dialogs_.Manager().ConfirmNote(NoteIndex(), editText, Pending());
    return kEnds;
}

bool QuickSettings::Cancel() {
    notes_.DropPreview(NoteIndex(), PreviewHolder::QuickSettings);  // this dialog's preview, and only that
    return kEnds;
}

bool QuickSettings::Hide() {
    notes_.HideNote(NoteIndex());
    notes_.DropPreview(NoteIndex(), PreviewHolder::QuickSettings);  // the dialog ends: nobody holds it any more
    return kEnds;
}

bool QuickSettings::ChooseNoteColor() { return ChooseAndPreview(&PickColorFor); }

bool QuickSettings::ChooseNoteFont() { return ChooseAndPreview(&PickFontFor); }

// The picker is modal: the note's row is found again once it closes.
template <typename Choose>
bool QuickSettings::ChooseAndPreview(Choose choose) {
    if (NoteIndex() < 0) return kEnds;
    if (const std::optional<Appearance> chosen = choose(notes_.PickersToUse(), Pending())) {
        if (NoteIndex() < 0) return kEnds;
        notes_.Preview(NoteIndex(), PreviewHolder::QuickSettings, *chosen);
    }
    return kStaysOpen;
}

bool QuickSettings::OpenManager() {
    dialogs_.Manager().ShowManagerOn(NoteIndex());
    return kEnds;
}

bool QuickSettings::Exit() {
    // After a failed save the program stays, and so does the dialog, for another try.
    return notes_.ExitProgram() ? kEnds : kStaysOpen;
}

bool QuickSettings::SetAutoStart(bool checked) {
    notes_.ApplyAutoStart(checked);
    dialogs_.ShowAutoStart();
    return kStaysOpen;
}

bool QuickSettings::SetTopMost(bool checked) {
    const int row = NoteIndex();
    if (row < 0) return kEnds;
    dialogs_.Manager().ApplyTopMost(row, checked);
    return kStaysOpen;
}
