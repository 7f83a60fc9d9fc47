#include "quicksettings/QuickSettings.h"

namespace {
constexpr bool kEnds = true;
constexpr bool kStaysOpen = false;
}  // namespace

QuickSettings::QuickSettings(NoteManager& manager, NoteWindow& note) : manager_(manager), note_(note) {}

QuickSettings::Initial QuickSettings::Init() {
    m_nNoteIndex = manager_.RowOfWindow(&note_);
    Initial initial;
    initial.text = note_.Text();
    if (!Valid()) return initial;
    initial.valid = true;
    initial.autoStart = manager_.State().m_autoStart;
    initial.topMost = manager_.State().table.rows[size_t(m_nNoteIndex)].isTopWin;
    manager_.LoadPendingFrom(m_nNoteIndex);
    return initial;
}

bool QuickSettings::Ok(const std::string& editText) {
    if (!Valid()) return kEnds;
    manager_.View().SetEditText(editText);
    manager_.State().m_current = m_nNoteIndex;
    manager_.ConfirmChanges();
    return kEnds;
}

bool QuickSettings::Cancel() {
    manager_.SyncNotes();
    return kEnds;
}

bool QuickSettings::Hide() {
    if (!Valid()) return kEnds;
    if (manager_.State().m_shownCount > 1) {
        manager_.View().SetListCheck(m_nNoteIndex, false);
        manager_.State().table.rows[size_t(m_nNoteIndex)].isShow = false;
        manager_.SyncNotes();
        manager_.SaveSettings();
    } else {
        manager_.UserMessages().ShowMessage(text::kKeepOneShown);
    }
    return kEnds;
}

bool QuickSettings::ChooseNoteColor() {
    if (!Valid()) return kEnds;
    manager_.State().m_current = m_nNoteIndex;
    manager_.PickColor();
    return kStaysOpen;
}

bool QuickSettings::ChooseNoteFont() {
    if (!Valid()) return kEnds;
    manager_.State().m_current = m_nNoteIndex;
    manager_.PickFont();
    return kStaysOpen;
}

bool QuickSettings::OpenManager() {
    if (!Valid()) return kEnds;
    NoteState& state = manager_.State();
    ManagerView& view = manager_.View();
    state.m_current = m_nNoteIndex;
    view.SetEditText(note_.Text());
    view.SelectListRow(m_nNoteIndex);
    view.SetTopMostCheck(state.table.rows[size_t(m_nNoteIndex)].isTopWin);
    manager_.ShowManager();
    return kEnds;
}

bool QuickSettings::Exit() {
    manager_.ExitProgram();
    return kEnds;
}

bool QuickSettings::SetAutoStart(bool checked) {
    manager_.View().SetAutoStartCheck(checked);
    manager_.ApplyAutoStart();
    return kStaysOpen;
}

bool QuickSettings::SetTopMost(bool checked) {
    if (!Valid()) return kEnds;
    manager_.View().SetTopMostCheck(checked);
    manager_.State().m_current = m_nNoteIndex;
    manager_.ApplyTopMost();
    return kStaysOpen;
}
