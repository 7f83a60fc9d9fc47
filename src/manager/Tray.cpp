#include "manager/Tray.h"

#include "manager/Help.h"

#include "store/NoteText.h"
#include "store/Unicode.h"

void RunTrayCommand(const TrayTargets& targets, TrayCommand command) {
    NoteManager& notes = targets.notes;
    switch (command) {
        case TrayCommand::ShowManager: targets.manager.ShowManager(); break;
        case TrayCommand::NewNote: targets.manager.AddNote(); break;
        case TrayCommand::ShowAllNotes: notes.ShowAllNotes(); break;
        case TrayCommand::RestoreNote: break;  // its submenu's items restore
        case TrayCommand::ToggleLock: notes.SetLocked(!notes.Locked()); break;
        case TrayCommand::Help: ShowHelp(notes); break;
        case TrayCommand::Exit: notes.ExitProgram(); break;
    }
}

std::vector<std::string> RestoreItems(const NoteManager& notes) {
    constexpr size_t kCharactersShown = 24;
    std::vector<std::string> items;
    for (const DeletedNote& deleted : notes.DeletedNotes()) {
        const std::string label = StoredToListLabel(deleted.note.text);
        const std::string_view start = Utf8Prefix(label, kCharactersShown);
        const std::string when = deleted.deletedAt.size() > 5 ? deleted.deletedAt.substr(5) : deleted.deletedAt;
        const std::string by =
            deleted.by == DeletedBy::OtherWriter ? "  " + InLanguage(notes.Language(), kRemovedElsewhere) : "";
        items.push_back(when + "  " + std::string(start) + (start.size() < label.size() ? "…" : "") + by);
    }
    return items;
}

void RestoreDeletedNote(const TrayTargets& targets, size_t index) { targets.notes.RestoreNote(index); }
