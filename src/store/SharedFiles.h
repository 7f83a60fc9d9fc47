#pragma once

#include <string>
#include <string_view>
#include <vector>

// The files other writers and sync tools leave beside the settings file, and the program's own files
// that travel with it or stay on this machine.

// A fresh identity for a note, unlike any other note's anywhere.
std::string NewNoteIdentity();

// True for the copies sync tools make of a file they could not reconcile: Syncthing's
// "<stem>.sync-conflict-<date>-<time>-<device><ext>", Dropbox's and Nextcloud's "<stem> (… conflicted
// copy …)<ext>" and OneDrive's "<stem>-<COMPUTERNAME><ext>".
bool IsConflictCopyName(std::string_view name, std::string_view settingsName);
// The conflict copies beside the settings file, oldest name first.
std::vector<std::string> FindConflictCopies(const std::string& settingsPath);
// Moves a file into folder (made when missing), under a name not yet taken there; false and error when
// it stays where it is.
bool MoveIntoFolder(const std::string& path, const std::string& folder, std::string* error);

// The file beside the settings that keeps the notes the user deleted: "<stem>.deleted<ext>", which no
// reader of the settings takes for a note.
std::string DeletedNotesPath(const std::string& settingsPath);

// Keeps a copy of the settings file's bytes as "<folder>/<stem>-<date><ext>" unless that day has one
// already, and removes all but the newest `keep` copies. date is "YYYY-MM-DD".
bool KeepDailyCopy(const std::string& folder, const std::string& settingsName, const std::string& date,
                   std::string_view bytes, size_t keep, std::string* error);
bool HasDailyCopy(const std::string& folder, const std::string& settingsName, const std::string& date);
// Today in local time, as "YYYY-MM-DD HH:MM" (the first ten characters are the date).
std::string LocalTimeNow();
// Where this machine keeps its copies of a settings file: a folder of the per-user data folder named
// after the settings file's folder, so that every notes folder has its own.
std::string CopiesFolderFor(const std::string& dataFolder, const std::string& settingsPath);
