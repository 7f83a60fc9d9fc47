#include "manager/Tray.h"

void RunTrayCommand(NoteManager& manager, TrayCommand command) {
    switch (command) {
        case TrayCommand::ShowManager: manager.ShowManager(); break;
        case TrayCommand::NewNote: manager.AddNote(); break;
        case TrayCommand::ShowAllNotes: manager.ShowAllNotes(); break;
        case TrayCommand::ToggleLock: manager.SetLocked(!manager.Locked()); break;
        case TrayCommand::Exit: manager.ExitProgram(); break;
    }
}
