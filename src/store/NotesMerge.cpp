#include "store/NotesMerge.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include "store/ShortHash.h"

namespace {

// Every field of a note but its text, which has its own rule. A place and a size are one field each: a
// move or a resize is one change, never half of one side's and half of the other's.
constexpr auto kPlainFields = std::make_tuple(
    [](auto& n) { return std::tie(n.isShow); }, [](auto& n) { return std::tie(n.positionX, n.positionY); },
    [](auto& n) { return std::tie(n.width, n.height); }, [](auto& n) { return std::tie(n.color); },
    [](auto& n) { return std::tie(n.font); }, [](auto& n) { return std::tie(n.fontSize); },
    [](auto& n) { return std::tie(n.isTopWin); });
constexpr auto kText = [](auto& n) { return std::tie(n.text); };
constexpr size_t kFieldCount = std::tuple_size_v<decltype(kPlainFields)> + 1;

template <typename Visit>
void ForEachPlainField(Visit visit) {
    std::apply([&](auto... field) { (visit(field), ...); }, kPlainFields);
}

size_t DifferingFields(const NoteRecord& a, const NoteRecord& b) {
    size_t count = a.text != b.text;
    ForEachPlainField([&](auto field) { count += !(field(a) == field(b)); });
    return count;
}

using Index = std::map<std::string, size_t>;

Index IndexOf(const std::vector<NoteRecord>& rows) {
    Index index;
    for (size_t i = 0; i < rows.size(); ++i) index.emplace(rows[i].identity, i);
    return index;
}

const NoteRecord* Find(const std::vector<NoteRecord>& rows, const Index& index, const std::string& identity) {
    const auto it = index.find(identity);
    return it == index.end() ? nullptr : &rows[it->second];
}

void Rename(std::vector<NoteRecord>& rows, const std::string& from, const std::string& to) {
    for (NoteRecord& row : rows)
        if (row.identity == from) row.identity = to;
}

// Until a note's first save its identity names its section. When theirs gave such a note an identity of its
// own, base and ours take it over, so that the three versions name the note alike.
void AdoptTheirIdentities(std::vector<NoteRecord>& base, std::vector<NoteRecord>& ours, const NoteState& theirs) {
    const Index baseIndex = IndexOf(base);
    const Index ourIndex = IndexOf(ours);
    for (size_t i = 0; i < theirs.table.rows.size() && i < theirs.table.sectionNames.size(); ++i) {
        const std::string& identity = theirs.table.rows[i].identity;
        const std::string byPlace = "@" + theirs.table.sectionNames[i];
        if (!HasOwnIdentity(theirs.table.rows[i]) || baseIndex.count(identity) || ourIndex.count(identity)) continue;
        if (!baseIndex.count(byPlace)) continue;
        Rename(base, byPlace, identity);
        Rename(ours, byPlace, identity);
    }
}

// A writer that drops the identities it does not know (an older version of the program) names every note by
// its section again. Such a note is the base's note of that section: the same note, not a new one.
void TakeBaseIdentities(const NoteTable& base, std::vector<NoteRecord>& theirs,
                        const std::vector<std::string>& theirSections) {
    std::set<std::string> taken;
    for (const NoteRecord& row : theirs) taken.insert(row.identity);
    std::map<std::string, const NoteRecord*> bySection;
    for (size_t j = 0; j < base.rows.size() && j < base.sectionNames.size(); ++j)
        if (HasOwnIdentity(base.rows[j])) bySection.emplace(base.sectionNames[j], &base.rows[j]);
    for (size_t i = 0; i < theirs.size() && i < theirSections.size(); ++i) {
        if (HasOwnIdentity(theirs[i])) continue;
        const auto match = bySection.find(theirSections[i]);
        if (match == bySection.end() || !taken.insert(match->second->identity).second) continue;
        theirs[i].identity = match->second->identity;
    }
}

// A writer that numbers sections by position and leaves keys it does not know where they stand moves an
// identity onto the next note when it deletes one. A note whose text is no longer its base's but exactly
// another base note's is that other note.
void FixMovedIdentities(const std::vector<NoteRecord>& base, std::vector<NoteRecord>& theirs) {
    const Index baseIndex = IndexOf(base);
    std::map<std::string, std::string> byText;  // texts only one base note has
    std::set<std::string> ambiguous;
    for (const NoteRecord& row : base)
        if (!byText.emplace(row.text, row.identity).second) ambiguous.insert(row.text);
    // Notes that still hold their own identity claim it before moved ones take theirs.
    std::vector<std::string> wanted(theirs.size());
    std::set<std::string> taken;
    for (size_t i = 0; i < theirs.size(); ++i) {
        const NoteRecord& row = theirs[i];
        const NoteRecord* before = Find(base, baseIndex, row.identity);
        const auto match = byText.find(row.text);
        const bool moved = before && before->text != row.text && match != byText.end() && !ambiguous.count(row.text);
        wanted[i] = moved ? match->second : row.identity;
        if (!moved) taken.insert(row.identity);
    }
    for (size_t i = 0; i < theirs.size(); ++i) {
        if (wanted[i] == theirs[i].identity) continue;
        if (taken.insert(wanted[i]).second) theirs[i].identity = wanted[i];
        else if (!taken.insert(theirs[i].identity).second) theirs[i].identity = "@moved#" + std::to_string(i);
    }
}

// Where one side changed a field, that side's value. Where both did, the larger value: both sides of a sync
// merge the same two versions, and must reach the same notes without asking each other.
NoteRecord MergeFields(const NoteRecord* base, const NoteRecord& ours, const NoteRecord& theirs) {
    NoteRecord merged = ours;
    const auto pick = [&](auto field) {
        auto target = field(merged);
        if (base && field(ours) == field(*base)) target = field(theirs);
        else if (!(base && field(theirs) == field(*base)) && field(ours) < field(theirs)) target = field(theirs);
    };
    ForEachPlainField(pick);
    pick(kText);
    return merged;
}

bool TextsConflict(const NoteRecord* base, const NoteRecord& ours, const NoteRecord& theirs) {
    if (ours.text == theirs.text) return false;
    return !base || (ours.text != base->text && theirs.text != base->text);
}

// The note that keeps the text a conflict set aside: named after the note and that text, so that both
// sides of a sync give it the same identity.
std::string SetAsideIdentity(const std::string& identity, const std::string& text) {
    char suffix[12];
    std::snprintf(suffix, sizeof suffix, "~%08x", ShortHash(text));
    return (!identity.empty() && identity[0] == '@' ? identity.substr(1) : identity) + suffix;
}

class Merger {
public:
    Merger(const NoteState& base, const NoteState& ours, const NoteState& theirs, const std::vector<bool>& pinned)
        : base_(base.table.rows), ours_(ours), ourRows_(ours.table.rows), pinned_(pinned) {
        AdoptTheirIdentities(base_, ourRows_, theirs);
        theirRows_ = theirs.table.rows;
        TakeBaseIdentities(base.table, theirRows_, theirs.table.sectionNames);
        FixMovedIdentities(base_, theirRows_);
        baseIndex_ = IndexOf(base_);
        theirIndex_ = IndexOf(theirRows_);
        result_.state.table.layout = theirs.table.layout;
        result_.state.m_autoStart = ours.m_autoStart == base.m_autoStart ? theirs.m_autoStart : ours.m_autoStart;
        result_.state.m_locked = ours.m_locked == base.m_locked ? theirs.m_locked : ours.m_locked;
    }

    MergeResult Run() {
        std::set<std::string> ourIdentities;
        for (size_t i = 0; i < ourRows_.size(); ++i) {
            ourIdentities.insert(ourRows_[i].identity);
            MergeOurs(i);
        }
        for (size_t i = 0; i < theirRows_.size(); ++i)
            if (!ourIdentities.count(theirRows_[i].identity)) MergeTheirsOnly(i);
        for (NoteRecord& extra : extras_) Add(std::move(extra), -1, kNewSection);
        result_.setAside.resize(result_.state.table.rows.size(), false);
        std::fill(result_.setAside.end() - long(extras_.size()), result_.setAside.end(), true);
        return std::move(result_);
    }

private:
    void MergeOurs(size_t row) {
        const NoteRecord& ours = ourRows_[row];
        const NoteRecord* base = Find(base_, baseIndex_, ours.identity);
        const NoteRecord* theirs = Find(theirRows_, theirIndex_, ours.identity);
        const bool pinned = row < pinned_.size() && pinned_[row];
        if (!theirs) {
            if (base && !pinned && DifferingFields(*base, ours) == 0) return;  // deleted there, unchanged here
            if (base) Log("kept a note deleted by another writer, because it changed here", ours);
            Add(ours, int(row), OwnSection(ours));
            return;
        }
        NoteRecord merged = MergeFields(base, ours, *theirs);
        if (TextsConflict(base, ours, *theirs)) {
            // The smaller text stays in the note, the other comes back as a note of its own beside it.
            merged.text = std::min(ours.text, theirs->text);
            SetAside(merged, std::max(ours.text, theirs->text));
        }
        Add(std::move(merged), int(row), theirs->section);
    }

    void MergeTheirsOnly(size_t row) {
        const NoteRecord& theirs = theirRows_[row];
        const NoteRecord* base = Find(base_, baseIndex_, theirs.identity);
        if (base && DifferingFields(*base, theirs) == 0) return;  // deleted here, unchanged there
        if (base) Log("kept a note deleted here, because another writer changed it", theirs);
        Add(theirs, -1, theirs.section);
    }

    void SetAside(const NoteRecord& note, const std::string& text) {
        NoteRecord copy = note;
        copy.text = text;
        copy.identity = SetAsideIdentity(note.identity, text);
        Log("both sides changed a note's text: one text is kept as a new note", copy);
        const bool known = IndexOf(ourRows_).count(copy.identity) || theirIndex_.count(copy.identity);
        if (!known) extras_.push_back(std::move(copy));  // else a merge on the other side set it aside already
    }

    // The section of ours that a note only ours has came from, added to the merged layout.
    int32_t OwnSection(const NoteRecord& ours) {
        const std::vector<FileSection>& sections = ours_.table.layout.sections;
        if (ours.section < 0 || size_t(ours.section) >= sections.size()) return kNewSection;
        if (sections[size_t(ours.section)].kind != FileSection::Kind::Note) return kNewSection;
        std::vector<FileSection>& merged = result_.state.table.layout.sections;
        merged.push_back(sections[size_t(ours.section)]);
        return int32_t(merged.size() - 1);
    }

    void Add(NoteRecord record, int oursRow, int32_t section) {
        record.section = section;
        result_.state.table.rows.push_back(std::move(record));
        result_.oursRow.push_back(oursRow);
    }

    void Log(const std::string& what, const NoteRecord& note) {
        const std::string start = note.text.substr(0, 40);
        result_.log.push_back(what + ": \"" + start + (note.text.size() > start.size() ? "…" : "") + "\"");
    }

    std::vector<NoteRecord> base_;
    const NoteState& ours_;
    std::vector<NoteRecord> ourRows_;
    std::vector<NoteRecord> theirRows_;
    const std::vector<bool>& pinned_;
    Index baseIndex_, theirIndex_;
    std::vector<NoteRecord> extras_;
    MergeResult result_;
};

}  // namespace

MergeResult MergeNotes(const NoteState& base, const NoteState& ours, const NoteState& theirs,
                       const std::vector<bool>& pinned) {
    return Merger(base, ours, theirs, pinned).Run();
}

size_t VersionDistance(const NoteState& a, const NoteState& b) {
    const Index aIndex = IndexOf(a.table.rows);
    const Index bIndex = IndexOf(b.table.rows);
    size_t distance = size_t(a.m_autoStart != b.m_autoStart) + size_t(a.m_locked != b.m_locked);
    for (const NoteRecord& row : a.table.rows) {
        const NoteRecord* other = Find(b.table.rows, bIndex, row.identity);
        distance += other ? DifferingFields(row, *other) : kFieldCount;
    }
    for (const NoteRecord& row : b.table.rows)
        if (!aIndex.count(row.identity)) distance += kFieldCount;
    return distance;
}

bool SameNotes(const NoteState& a, const NoteState& b) {
    return a.table.rows.size() == b.table.rows.size() && VersionDistance(a, b) == 0;
}
