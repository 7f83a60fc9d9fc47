#include <gtest/gtest.h>

#include <functional>

#include "store/NotesMerge.h"
#include "store/Settings.h"

// Three versions of the notes, written as another writer would leave them, merged as a save merges them.

namespace {

struct Section {
    std::string id;  // "" for a section without an identity
    std::string text;
    std::string extra = "";
};

NoteState Version(const std::vector<Section>& sections, const std::string& prefix = "") {
    std::string ini = prefix;
    for (size_t i = 0; i < sections.size(); ++i) {
        ini += "[Text_" + std::to_string(i) + "]\n";
        if (!sections[i].id.empty()) ini += "noteId=" + sections[i].id + "\n";
        ini += "text=" + sections[i].text + "\n" + sections[i].extra;
    }
    NoteState state;
    LoadSettingsFromText(state, ini);
    return state;
}

std::vector<std::string> Texts(const MergeResult& merged) {
    std::vector<std::string> texts;
    for (const NoteRecord& row : merged.state.table.rows) texts.push_back(row.text);
    return texts;
}

enum class Who { Nobody, Ours, Theirs, BothAlike, BothApart };

struct Field {
    const char* name;
    std::function<void(NoteRecord&, int)> set;  // value 0 is the base's
    std::function<int(const NoteRecord&)> get;
};

const Field kFields[] = {
    {"text", [](NoteRecord& n, int v) { n.text = "t" + std::to_string(v); }, [](const NoteRecord& n) { return n.text[1] - '0'; }},
    {"positionX", [](NoteRecord& n, int v) { n.positionX = 10 + v; }, [](const NoteRecord& n) { return n.positionX - 10; }},
    {"height", [](NoteRecord& n, int v) { n.height = 100 + v; }, [](const NoteRecord& n) { return n.height - 100; }},
    {"color", [](NoteRecord& n, int v) { n.color = 0xFF000000u + uint32_t(v); }, [](const NoteRecord& n) { return int(n.color & 0xFF); }},
    {"font", [](NoteRecord& n, int v) { n.font = "f" + std::to_string(v); }, [](const NoteRecord& n) { return n.font[1] - '0'; }},
    {"fontSize", [](NoteRecord& n, int v) { n.fontSize = 300 + v; }, [](const NoteRecord& n) { return n.fontSize - 300; }},
};

}  // namespace

// Each field, by who changed it: one side's change is taken; of both sides' different changes the larger
// value, so that both ends of a sync agree; a text changed on both sides keeps the smaller text and the
// other as a note of its own.
TEST(NotesMerge, EachFieldTakesTheSideThatChangedIt) {
    struct Case {
        Who who;
        int expected;  // 0 base, 1 ours, 2 theirs
    };
    const Case cases[] = {{Who::Nobody, 0}, {Who::Ours, 1}, {Who::Theirs, 2}, {Who::BothAlike, 1}, {Who::BothApart, 3}};
    for (const Field& field : kFields) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(field.name) + " changed by case " + std::to_string(int(c.who)));
            NoteState base = Version({{"a", "t0"}, {"b", "other"}});
            field.set(base.table.rows[0], 0);
            NoteState ours = base, theirs = base;
            if (c.who == Who::Ours || c.who == Who::BothAlike || c.who == Who::BothApart) field.set(ours.table.rows[0], 1);
            if (c.who == Who::Theirs) field.set(theirs.table.rows[0], 2);
            if (c.who == Who::BothAlike) field.set(theirs.table.rows[0], 1);
            if (c.who == Who::BothApart) field.set(theirs.table.rows[0], 3);
            const MergeResult merged = MergeNotes(base, ours, theirs);
            ASSERT_GE(merged.state.table.rows.size(), 2u);
            const bool keptBeside = c.who == Who::BothApart && field.name == std::string("text");
            EXPECT_EQ(field.get(merged.state.table.rows[0]), keptBeside ? 1 : c.expected);
            EXPECT_EQ(merged.state.table.rows[1].text, "other");
            ASSERT_EQ(merged.state.table.rows.size(), keptBeside ? 3u : 2u);
            if (keptBeside) {
                EXPECT_EQ(merged.state.table.rows[2].text, "t3");
                EXPECT_EQ(merged.oursRow[2], -1);
                EXPECT_EQ(merged.log.size(), 1u);
                // The other end of the sync, merging the same versions the other way round, agrees.
                EXPECT_TRUE(SameNotes(MergeNotes(base, theirs, ours).state, merged.state));
            }
        }
    }
}

// A move on each side: the note goes to one of the two places, never to a mix of both.
TEST(NotesMerge, APlaceIsOneField) {
    const NoteState base = Version({{"a", "A", "positionX=10\npositionY=10\n"}});
    const NoteState ours = Version({{"a", "A", "positionX=5\npositionY=50\n"}});
    const NoteState theirs = Version({{"a", "A", "positionX=50\npositionY=5\n"}});
    for (const MergeResult& merged : {MergeNotes(base, ours, theirs), MergeNotes(base, theirs, ours)}) {
        EXPECT_EQ(merged.state.table.rows[0].positionX, 50);
        EXPECT_EQ(merged.state.table.rows[0].positionY, 5);
    }
}

TEST(NotesMerge, AddsAndDeletesOnEitherSide) {
    const NoteState base = Version({{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}});
    // Ours: deleted b (unchanged there), changed c, added x. Theirs: deleted c, changed d... and deleted
    // a note ours changed (c), added y, changed b which ours deleted.
    const NoteState ours = Version({{"a", "A"}, {"c", "C ours"}, {"d", "D"}, {"x", "X"}});
    const NoteState theirs = Version({{"a", "A"}, {"b", "B theirs"}, {"d", "D theirs"}, {"y", "Y"}});
    const MergeResult merged = MergeNotes(base, ours, theirs);
    EXPECT_EQ(Texts(merged), (std::vector<std::string>{"A", "C ours", "D theirs", "X", "B theirs", "Y"}));
    EXPECT_EQ(merged.oursRow, (std::vector<int>{0, 1, 2, 3, -1, -1}));
    EXPECT_EQ(merged.log.size(), 2u);  // both deletes that were given up

    // A delete on one side of a note the other left alone is taken, on either side.
    const NoteState oursDeleted = Version({{"a", "A"}, {"c", "C"}, {"d", "D"}});
    const NoteState theirsDeleted = Version({{"a", "A"}, {"b", "B"}, {"c", "C"}});
    EXPECT_EQ(Texts(MergeNotes(base, oursDeleted, theirsDeleted)), (std::vector<std::string>{"A", "C"}));
    // A note in use here is never taken away by the other side's delete.
    EXPECT_EQ(Texts(MergeNotes(base, base, theirsDeleted, {false, false, false, true})),
              (std::vector<std::string>{"A", "B", "C", "D"}));
}

// Until the first save, notes are matched by their sections; a writer that then gave them identities
// names the same notes.
TEST(NotesMerge, FilesWithoutIdentitiesMatchBySection) {
    const NoteState base = Version({{"", "A"}, {"", "B"}});
    const NoteState ours = Version({{"", "A ours"}, {"", "B"}});
    EXPECT_EQ(Texts(MergeNotes(base, ours, Version({{"", "A"}, {"", "B theirs"}}))),
              (std::vector<std::string>{"A ours", "B theirs"}));
    const MergeResult named = MergeNotes(base, ours, Version({{"p", "A"}, {"q", "B theirs"}}));
    EXPECT_EQ(Texts(named), (std::vector<std::string>{"A ours", "B theirs"}));
    EXPECT_EQ(named.state.table.rows[0].identity, "p");
}

// A writer that numbers sections by position and leaves the keys it does not know where they stand: after
// it deleted B, B's identity sits on C. C is still C, and keeps what ours changed in it.
TEST(NotesMerge, AnIdentityMovedByAPositionalWriterIsNotTrusted) {
    const NoteState base = Version({{"a", "A"}, {"b", "B"}, {"c", "C"}});
    const NoteState ours = Version({{"a", "A"}, {"b", "B"}, {"c", "C ours"}});
    const NoteState theirs = Version({{"a", "A"}, {"b", "C"}});
    const MergeResult merged = MergeNotes(base, ours, theirs);
    EXPECT_EQ(Texts(merged), (std::vector<std::string>{"A", "C ours"}));
    EXPECT_EQ(merged.state.table.rows[1].identity, "c");
}

// What another writer added to a note's section and the file (keys, comments, sections) stays in the
// merged file; the flags follow the side that changed them.
TEST(NotesMerge, TheirLinesAndFlagsSurviveTheMerge) {
    const NoteState base = Version({{"a", "A"}});
    NoteState ours = Version({{"a", "A ours"}, {"x", "X", "mine=1\n"}});
    ours.m_locked = true;
    NoteState theirs = Version({{"a", "A", "theirs=1\n"}}, "; their comment\n");
    theirs.m_autoStart = true;
    const MergeResult merged = MergeNotes(base, ours, theirs);
    EXPECT_TRUE(merged.state.m_locked);
    EXPECT_TRUE(merged.state.m_autoStart);
    const std::string file = SerializeSettings(merged.state);
    for (const char* line : {"; their comment", "theirs=1", "mine=1", "text=A ours", "text=X", "noteId=x"})
        EXPECT_NE(file.find(line), std::string::npos) << line;
    EXPECT_EQ(file.find("theirs=1"), file.find("[Text_0]") + file.substr(file.find("[Text_0]")).find("theirs=1"));
}

TEST(NotesMerge, DistanceCountsDifferingFields) {
    const NoteState a = Version({{"a", "A"}, {"b", "B"}});
    EXPECT_EQ(VersionDistance(a, a), 0u);
    EXPECT_EQ(VersionDistance(a, Version({{"a", "A2"}, {"b", "B"}})), 1u);
    EXPECT_GT(VersionDistance(a, Version({{"a", "A"}})), VersionDistance(a, Version({{"a", "A2"}, {"b", "B2"}})));
    EXPECT_TRUE(SameNotes(a, Version({{"a", "A"}, {"b", "B"}}, "; comment\n")));
}
