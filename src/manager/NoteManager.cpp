#include "manager/NoteManager.h"

#include "store/NoteText.h"
#include "store/Settings.h"

namespace {

// A new note: shown, topmost, opaque blue, the welcome text; its window is created 1200 x 500.
NoteRecord NewNote() {
    NoteRecord note = FirstRunNote();
    note.color = 0xFF0000FF;
    return note;
}

// The dialog starts visible and hides itself on its first paints, so at rest only the notes show.
constexpr int kPaintsHidden = 2;

constexpr int32_t kNewWindowX = 500;
constexpr int32_t kNewWindowY = 500;
constexpr int32_t kNewWindowWidth = 1200;
constexpr int32_t kNewWindowHeight = 500;

float EmSize(int32_t fontSizeTenths) { return float(fontSizeTenths / 10); }

}  // namespace

NoteManager::NoteManager(Services services) : services_(std::move(services)) {}

NoteWindow* NoteManager::WindowOf(int row) const {
    return (row >= 0 && size_t(row) < m_noteWindows.size()) ? m_noteWindows[size_t(row)] : nullptr;
}

int NoteManager::RowOfWindow(const NoteWindow* window) const {
    for (size_t i = 0; i < m_noteWindows.size() && i < state_.table.count(); ++i)
        if (m_noteWindows[i] == window) return int(i);
    return -1;
}

NoteRecord* NoteManager::CurrentRow() {
    return IsRow(state_.m_current) ? &state_.table.rows[size_t(state_.m_current)] : nullptr;
}

NoteWindow* NoteManager::CurrentWindow() const { return IsRow(state_.m_current) ? WindowOf(state_.m_current) : nullptr; }

void NoteManager::LoadPendingFrom(int row) {
    if (!IsRow(row)) return;
    const NoteRecord& note = state_.table.rows[size_t(row)];
    state_.m_pendingColor = note.color;
    state_.m_pendingFont = note.font;
    state_.m_pendingFontSize = note.fontSize;
}

void NoteManager::CreateWindowForRow(size_t row, int32_t width, int32_t height) {
    const NoteRecord& note = state_.table.rows[row];
    const std::string className = "text_" + std::to_string(m_windowsCreated);
    m_windowPool.push_back(
        services_.windows.CreateNoteWindow(className, note.positionX, note.positionY, width, height));
    ++m_windowsCreated;
    if (m_noteWindows.size() <= row) m_noteWindows.resize(row + 1, nullptr);
    m_noteWindows[row] = m_windowPool.back().get();
}

void NoteManager::PushRowIntoWindow(size_t row, NoteWindow& window) {
    const NoteRecord& note = state_.table.rows[row];
    window.SetText(StoredToText(note.text));
    window.SetFillColor(note.color);
    window.SetTextFont(note.font, kFontRegular, EmSize(note.fontSize));
    window.Draw();
}

// Rows without a window yet (at start-up, or sections that moved up from beyond the table's capacity
// when a save freed a place) get one, with a list row, shown or hidden as the row says.
void NoteManager::AdoptNewRows() {
    ManagerView& view = services_.view;
    for (size_t i = m_noteWindows.size(); i < state_.table.count(); ++i) {
        const NoteRecord& note = state_.table.rows[i];
        CreateWindowForRow(i, note.width < 0 ? 1200 : note.width, note.height < 0 ? 500 : note.height);
        NoteWindow& window = *m_noteWindows[i];
        PushRowIntoWindow(i, window);
        window.SetTopMost(note.isTopWin);
        view.InsertListRow(int(i), StoredToListLabel(note.text));
        if (note.isShow) ++state_.m_shownCount;
        view.SetListCheck(int(i), note.isShow);
        window.Show(note.isShow);
    }
}

void NoteManager::Start() {
    LoadSettings(state_, services_.settingsPath);
    state_.m_shownCount = 0;
    AdoptNewRows();
    ManagerView& view = services_.view;
    const NoteRecord* current = CurrentRow();
    view.SetEditText(current ? StoredToText(current->text) : std::string());
    LoadPendingFrom(state_.m_current);
    SetAutostart(services_.autostart, state_.m_autoStart);
    view.SetAutoStartCheck(state_.m_autoStart);
    view.SetTopMostCheck(current && current->isTopWin);
}

void NoteManager::SyncNotes() {
    state_.m_shownCount = 0;
    for (size_t i = 0; i < state_.table.count(); ++i) {
        NoteRecord& note = state_.table.rows[i];
        note.autoStart = state_.m_autoStart;
        NoteWindow* window = WindowOf(int(i));
        if (!window) continue;
        if (!note.isShow) {
            services_.view.SetListCheck(int(i), false);
            window->Show(false);
            continue;
        }
        ++state_.m_shownCount;
        PushRowIntoWindow(i, *window);
        const WindowRect rect = window->GetWindowRect();
        note.positionX = rect.left;
        note.positionY = rect.top;
        note.width = rect.width();
        note.height = rect.height();
        window->SetTopMost(note.isTopWin);
    }
}

bool NoteManager::SaveSettings() {
    const bool saved = ::SaveSettings(state_, services_.settingsPath);
    if (!saved) {
        DropDeletedRows();  // what the reload would have done, so rows and windows stay aligned
        services_.messages.ShowMessage(text::kSaveFailed);
    }
    AdoptNewRows();
    return saved;
}

void NoteManager::ConfirmChanges() {
    NoteRecord* note = CurrentRow();
    if (!note) return;
    note->text = TextToStored(services_.view.EditText());
    note->font = state_.m_pendingFont;
    note->color = state_.m_pendingColor;
    note->fontSize = state_.m_pendingFontSize;
    services_.view.SetListRowText(state_.m_current, StoredToListLabel(note->text));
    services_.view.ShowManager(false);
    SyncNotes();
    SaveSettings();
}

void NoteManager::PickColor() {
    NoteWindow* window = CurrentWindow();
    if (!window) return;
    const std::optional<uint32_t> color = services_.pickers.PickColor(state_.m_pendingColor);
    if (!color) return;
    state_.m_pendingColor = *color | 0xFF000000u;
    window->SetFillColor(state_.m_pendingColor);
    window->Draw();
}

void NoteManager::PickFont() {
    NoteWindow* window = CurrentWindow();
    if (!window) return;
    const FontChoice initial{state_.m_pendingFont, state_.m_pendingFontSize, state_.m_pendingColor};
    const std::optional<FontChoice> choice = services_.pickers.PickFont(initial);
    if (!choice) return;
    state_.m_pendingFont = choice->face;
    state_.m_pendingFontSize = choice->pointSizeTenths;
    state_.m_pendingColor = choice->color | 0xFF000000u;
    window->SetTextFont(choice->face, kFontRegular, EmSize(choice->pointSizeTenths));
    window->SetFillColor(state_.m_pendingColor);
    window->Draw();
}

void NoteManager::ExitProgram() {
    SyncNotes();
    SaveSettings();
    for (size_t i = 0; i < state_.table.count(); ++i)
        if (NoteWindow* window = WindowOf(int(i))) window->Destroy();
    services_.app.Quit();
}

void NoteManager::HideManager() {
    services_.view.ShowManager(false);
    SyncNotes();
}

void NoteManager::OnNoteListClick(int hitRow, bool onCheckBox, int selectedRow) {
    if (!IsRow(hitRow)) return;
    if (onCheckBox) {
        NoteRecord& note = state_.table.rows[size_t(hitRow)];
        note.isShow = !note.isShow;  // the box showed isShow before the click
        if (NoteWindow* window = WindowOf(hitRow)) window->Show(note.isShow);
        state_.m_shownCount += note.isShow ? 1 : -1;
    }
    if (!IsRow(selectedRow)) return;
    ManagerView& view = services_.view;
    view.SelectListRow(selectedRow);
    state_.m_current = selectedRow;
    const NoteRecord& current = state_.table.rows[size_t(selectedRow)];
    view.SetEditText(StoredToText(current.text));
    LoadPendingFrom(selectedRow);
    view.SetTopMostCheck(current.isTopWin);
}

void NoteManager::AddNote() {
    if (state_.table.full() || m_windowsCreated >= kWindowCapacity) {
        services_.messages.ShowMessage(text::kTooManyNotes);
        return;
    }
    state_.table.rows.push_back(NewNote());
    const size_t row = state_.table.count() - 1;
    NoteRecord& note = state_.table.rows[row];
    note.positionX = kNewWindowX;
    note.positionY = kNewWindowY;
    CreateWindowForRow(row, kNewWindowWidth, kNewWindowHeight);
    SyncNotes();
    SaveSettings();
    ManagerView& view = services_.view;
    const int listRow = view.ListRowCount();
    view.InsertListRow(listRow, StoredToListLabel(state_.table.rows[row].text));
    view.SetListCheck(listRow, true);
}

void NoteManager::DeleteNote() {
    if (state_.table.count() == 1) {
        services_.messages.ShowMessage(text::kKeepOneNote);
        return;
    }
    NoteRecord* note = CurrentRow();
    if (!note) return;
    note->isDelete = true;
    note->isShow = false;
    SyncNotes();
    CompactDeletedRows();
    SaveSettings();
    ManagerView& view = services_.view;
    view.DeleteListRow(state_.m_current);
    view.SetEditText(state_.table.count() ? StoredToText(state_.table.rows[0].text) : std::string());
    state_.m_current = 0;
    view.SelectListRow(0);
}

// Destroys the windows of rows marked deleted and closes the gaps, keeping the order; the table follows
// at the save's reload (or DropDeletedRows when the save fails), so rows and windows stay aligned.
void NoteManager::CompactDeletedRows() {
    std::vector<NoteWindow*> kept;
    for (size_t i = 0; i < state_.table.count(); ++i) {
        NoteWindow* window = WindowOf(int(i));
        if (state_.table.rows[i].isDelete) {
            if (window) window->Destroy();
            continue;
        }
        kept.push_back(window);
    }
    m_noteWindows = std::move(kept);
}

void NoteManager::DropDeletedRows() {
    std::vector<NoteRecord>& rows = state_.table.rows;
    size_t kept = 0;
    for (size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].isDelete) rows[kept++] = std::move(rows[i]);
    rows.resize(kept);
}

void NoteManager::ApplyAutoStart() {
    state_.m_autoStart = services_.view.AutoStartCheck();
    SaveSettings();
    SetAutostart(services_.autostart, state_.m_autoStart);
}

void NoteManager::ApplyTopMost() {
    const int row = state_.m_current;
    if (!IsRow(row)) return;
    const bool topMost = services_.view.TopMostCheck();
    state_.table.rows[size_t(row)].isTopWin = topMost;
    SaveSettings();
    if (NoteWindow* window = WindowOf(row)) window->SetTopMost(topMost);
}

void NoteManager::ShowManager() {
    m_paintHideCount = kPaintsHidden;
    services_.view.ShowManager(true);
}

bool NoteManager::HideOnPaint() {
    if (m_paintHideCount >= kPaintsHidden) return false;
    ++m_paintHideCount;
    return true;
}
