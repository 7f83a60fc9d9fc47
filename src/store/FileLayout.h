#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a settings file holds besides the values the program owns, in file order: a save writes the
// program's values into it and everything else back as it was.

inline constexpr int32_t kNewSection = -1;

// One line of a section: kept as written, or the place of one of the program's keys, whose line a
// save writes anew (the value lives in the note, not here).
struct KeptLine {
    static constexpr int kNotOwned = -1;
    std::string text;      // the line as written, for a line the program does not own
    int owned = kNotOwned;  // else the key's index in the note's keys (NoteSection.h)
};

struct FileSection {
    enum class Kind {
        Note,      // a note's section: written from the note that came from it, left out when it is gone
        Foreign,   // a section that is no note: written back as it was
        Overflow,  // a note past the table's capacity: written back as it was, with this run's flags
    };
    Kind kind = Kind::Foreign;
    std::string header;            // the header line as written (foreign and overflow sections)
    std::vector<KeptLine> lines;   // the lines after the header
};

struct FileLayout {
    std::vector<std::string> preamble;  // the lines before the first section
    std::vector<FileSection> sections;

    size_t OverflowCount() const {
        size_t count = 0;
        for (const FileSection& section : sections) count += section.kind == FileSection::Kind::Overflow;
        return count;
    }
};
