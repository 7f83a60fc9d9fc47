#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "store/FileIO.h"

// When a settings file that another writer changed may be taken as their version. Editors and network
// shares often write a file in place, in pieces: until the last piece is in, the file holds only part of
// the notes, and taking it would read every missing note as deleted.

struct SettleTimes {
    int quietMs = 500;           // unchanged this long, when it looks whole and nobody holds it for writing
    int doubtfulQuietMs = 1500;  // when it may be cut short, or the platform cannot tell who writes it
    int pollMs = 250;            // how soon to look again at a file somebody is writing
};

// What one look at the file showed.
struct FileLook {
    FileStamp stamp;
    Writers writers = Writers::None;
    bool changing = false;   // written to while it was read
    bool looksWhole = true;  // as LooksWhole says of its text
};

// Whether a settings file's text looks written to its end: it is not empty, it ends with a line end and its
// last section holds no fewer keys than any other.
bool LooksWhole(std::string_view text);

// Follows the file from look to look: it settled once nobody holds it for writing and it stayed the same
// for the quiet time.
class Settling {
public:
    explicit Settling(SettleTimes times) : times_(times) {}
    // 0 when the file may be taken now; otherwise how many milliseconds to wait before looking again.
    int WaitBeforeTaking(const FileLook& look, int64_t nowMs);
    // The file is a known version again: the next change starts afresh.
    void Forget() { candidate_.reset(); }

private:
    SettleTimes times_;
    std::optional<FileStamp> candidate_;
    int64_t since_ = 0;
};
