// Differential: any bytes loaded, saved and loaded again give the same notes, field by field, with the
// same unknown keys, comments and other sections. A file that is not loaded is never saved, so only
// what loads is compared.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "store/IniFile.h"
#include "store/Settings.h"
#include "store/SettingsEncoding.h"

namespace {

[[noreturn]] void Differs(const char* what, size_t index) {
    std::fprintf(stderr, "load, save, load changed %s (%zu)\n", what, index);
    std::abort();
}

// The lines of a section the program does not own; of a note past the capacity, all but its flags,
// which a save writes anew.
std::vector<std::string> KeptTexts(const FileSection& section) {
    std::vector<std::string> texts;
    for (const KeptLine& line : section.lines) {
        if (line.owned != KeptLine::kNotOwned) continue;
        const std::string_view key = KeyOfLine(line.text);
        const bool flag = EqualsIgnoringCase(key, "autoStart") || EqualsIgnoringCase(key, "locked");
        if (section.kind == FileSection::Kind::Overflow && flag) continue;
        texts.push_back(line.text);
    }
    return texts;
}

void CompareNote(const NoteRecord& a, const NoteRecord& b, const NoteState& first, size_t i) {
    if (a.text != b.text) Differs("a text", i);
    if (a.font != b.font) Differs("a face", i);
    if (a.positionX != b.positionX || a.positionY != b.positionY) Differs("a place", i);
    if (a.width != b.width || a.height != b.height) Differs("a size", i);
    if (a.color != b.color || a.fontSize != b.fontSize) Differs("a colour or font size", i);
    if (a.isShow != b.isShow || a.isTopWin != b.isTopWin || a.isDelete != b.isDelete) Differs("a flag", i);
    if (b.autoStart != first.m_autoStart) Differs("a note's autostart", i);
}

void CompareLayouts(const NoteState& first, const NoteState& second) {
    const FileLayout& a = first.table.layout;
    const FileLayout& b = second.table.layout;
    if (a.preamble != b.preamble) Differs("the lines before the first section", 0);
    // Notes' sections in row order, then the sections that are no notes, in file order.
    for (size_t i = 0; i < first.table.rows.size(); ++i) {
        const int32_t sa = first.table.rows[i].section, sb = second.table.rows[i].section;
        const std::vector<std::string> keptA = sa >= 0 ? KeptTexts(a.sections.at(size_t(sa))) : std::vector<std::string>();
        if (KeptTexts(b.sections.at(size_t(sb))) != keptA) Differs("a note's unknown keys", i);
    }
    std::vector<const FileSection*> othersA, othersB;
    for (const FileSection& s : a.sections)
        if (s.kind != FileSection::Kind::Note) othersA.push_back(&s);
    for (const FileSection& s : b.sections)
        if (s.kind != FileSection::Kind::Note) othersB.push_back(&s);
    if (othersA.size() != othersB.size()) Differs("the number of other sections", othersA.size());
    for (size_t i = 0; i < othersA.size(); ++i) {
        if (othersA[i]->kind != othersB[i]->kind || othersA[i]->header != othersB[i]->header ||
            KeptTexts(*othersA[i]) != KeptTexts(*othersB[i]))
            Differs("another section", i);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NoteState first;
    const LoadOutcome outcome =
        LoadSettingsFromText(first, DecodeSettingsBytes(std::string(reinterpret_cast<const char*>(data), size)));
    if (outcome == LoadOutcome::Unreadable) return 0;

    NoteState second;
    if (LoadSettingsFromText(second, DecodeSettingsBytes(EncodeSettingsText(SerializeSettings(first)))) !=
        LoadOutcome::Loaded)
        Differs("whether the file loads", 0);
    if (second.m_autoStart != first.m_autoStart || second.m_locked != first.m_locked) Differs("the flags", 0);
    if (second.table.rows.size() != first.table.rows.size()) Differs("the number of notes", second.table.rows.size());
    for (size_t i = 0; i < first.table.rows.size(); ++i) CompareNote(first.table.rows[i], second.table.rows[i], first, i);
    CompareLayouts(first, second);
    return 0;
}
