// Any bytes as a settings file: decoding, parsing and loading never crash, and what a save of a file
// that loads writes loads back to the same notes, so that a second save writes the same file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/Settings.h"
#include "store/SettingsEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NoteState first;
    const LoadOutcome outcome =
        LoadSettingsFromText(first, DecodeSettingsBytes(std::string(reinterpret_cast<const char*>(data), size)));
    if (outcome == LoadOutcome::Unreadable) return 0;  // never saved over
    const std::string saved = SerializeSettings(first);

    NoteState second;
    LoadSettingsFromText(second, DecodeSettingsBytes(EncodeSettingsText(saved)));
    if (second.table.rows.size() + second.table.layout.OverflowCount() <
        first.table.rows.size() + first.table.layout.OverflowCount())
        std::abort();  // a note was lost
    if (SerializeSettings(second) != saved) std::abort();  // a save changes what it saved
    return 0;
}
