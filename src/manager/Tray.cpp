#include "manager/Tray.h"

void RunTrayCommand(const TrayTargets& targets, TrayCommand command) {
    NoteManager& notes = targets.notes;
    switch (command) {
        case TrayCommand::ShowManager: targets.manager.ShowManager(); break;
        case TrayCommand::NewNote: notes.AddNote(); break;
        case TrayCommand::ShowAllNotes: notes.ShowAllNotes(); break;
        case TrayCommand::ToggleLock: notes.SetLocked(!notes.Locked()); break;
        case TrayCommand::Exit: notes.ExitProgram(); break;
    }
}
