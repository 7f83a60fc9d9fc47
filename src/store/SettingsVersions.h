#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "store/FileIO.h"
#include "store/NotesMerge.h"
#include "store/NoteRecord.h"

// The versions of the settings file this program has read or written, newest first: the newest is what
// the file held when the program last looked, the base of a merge with what another writer saved since.
class SettingsVersions {
public:
    static constexpr size_t kKept = 16;
    static constexpr size_t kBudgetBytes = 32u << 20;  // older versions of huge notes are not worth memory

    // The file as read or written, by its fingerprint: a huge note is in memory often enough.
    void Record(const FileFingerprint& file, NoteState state) {
        last_ = file;
        versions_.push_front(std::move(state));
        size_t total = 0;
        size_t keep = 0;
        while (keep < versions_.size() && keep < kKept && (keep == 0 || total + SizeOf(versions_[keep]) <= kBudgetBytes))
            total += SizeOf(versions_[keep++]);
        versions_.resize(keep);
    }
    bool Any() const { return !versions_.empty(); }
    bool IsLast(std::string_view bytes) const { return Any() && FileFingerprint::Of(bytes) == last_; }
    const NoteState& Last() const { return versions_.front(); }

    // The version another writer's copy most likely started from: the seen version nearest to it, the
    // older one of two as near (an older base turns a doubt into a kept conflict, never into a lost change),
    // and never one that is what this program holds now (compared with that, a copy would undo every change
    // made since). Empty when there is none: the merge then keeps what both sides hold.
    NoteState NearestTo(const NoteState& copy, const NoteState& current, bool skipLast = false) const {
        const NoteState* nearest = nullptr;
        size_t best = 0;
        for (size_t i = skipLast ? 1 : 0; i < versions_.size(); ++i) {
            if (SameNotes(versions_[i], current)) continue;
            const size_t distance = VersionDistance(versions_[i], copy);
            if (!nearest || distance <= best) nearest = &versions_[i], best = distance;
        }
        return nearest ? *nearest : NoteState{};
    }

private:
    static size_t SizeOf(const NoteState& state) {
        size_t bytes = 0;
        for (const NoteRecord& row : state.table.rows) bytes += row.text.size() + row.font.size() + sizeof row;
        for (const FileSection& section : state.table.layout.sections)
            for (const KeptLine& line : section.lines) bytes += line.text.size() + sizeof line;
        return bytes;
    }

    FileFingerprint last_;
    std::deque<NoteState> versions_;
};
