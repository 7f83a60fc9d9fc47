#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The files other writers and sync tools leave beside the settings file, and the program's own files
// that travel with it or stay on this machine.

// A fresh identity for a note, unlike any other note's anywhere.
std::string NewNoteIdentity();

// What a file's name beside the settings file says of it.
enum class CopyName {
    NotACopy,
    Copy,           // a sync tool's conflict copy: Syncthing's "<stem>.sync-conflict-<date>-<time>-<device><ext>",
                    // Dropbox's and Nextcloud's "<stem> (… conflicted copy …)<ext>", and OneDrive's
                    // "<stem>-<COMPUTERNAME><ext>" where the name is this computer's or one Windows generates
    MaybeComputer,  // "<stem>-<NAME><ext>" with letters and digits in NAME: OneDrive's copy only when its
                    // content is a version this program knows. Plain words and dates are a user's own.
};
CopyName ConflictCopyName(std::string_view name, std::string_view settingsName, std::string_view computerName);

struct ConflictCopy {
    std::string path;
    bool confirmByContent = false;  // CopyName::MaybeComputer
};
// The conflict copies beside the settings file, oldest name first.
std::vector<ConflictCopy> FindConflictCopies(const std::string& settingsPath, std::string_view computerName);
// Moves a file into one of the program's folders (made when missing), under a name not yet taken there,
// no more readable than the file at modeLike; false and error when it stays where it is.
bool MoveIntoFolder(const std::string& path, const std::string& folder, const std::string& modeLike,
                    std::string* error);

// The file beside the settings that keeps the notes the user deleted: "<stem>.deleted<ext>", which no
// reader of the settings takes for a note.
std::string DeletedNotesPath(const std::string& settingsPath);
// The file programs lock while they save the settings file (FileLock).
std::string LockPathFor(const std::string& settingsPath);

// Keeps a copy of the settings file as it is now (bytes) as "<folder>/<stem>-<date><ext>", unless that day
// has one already or the newest copy holds the same; then removes all but the newest `keep` copies. made
// (when given) says whether a copy was made. date is "YYYY-MM-DD".
bool KeepDailyCopy(const std::string& settingsPath, std::string_view bytes, const std::string& folder,
                   const std::string& date, size_t keep, std::string* error, bool* made = nullptr);
// The path of that day's copy.
std::string DailyCopyPath(const std::string& folder, const std::string& settingsName, const std::string& date);
// Removes the oldest files of the folders until they take no more than maxBytes together; the newest stays.
void TrimCopies(const std::vector<std::string>& folders, uint64_t maxBytes);
// What the copies of one notes folder may take: five times the file, at least 50 MB.
uint64_t CopiesBound(uint64_t fileSize);
// Today in local time, as "YYYY-MM-DD HH:MM" (the first ten characters are the date).
std::string LocalTimeNow();
// Where this machine keeps its copies of a settings file: a folder of the per-user data folder named
// after the settings file's folder, so that every notes folder has its own.
std::string CopiesFolderFor(const std::string& dataFolder, const std::string& settingsPath);
