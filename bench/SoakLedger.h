#pragma once

#include <string>
#include <vector>

#include "store/NoteRecord.h"

// The edits a soak's round made on both sides, and whether the notes both sides agree on afterwards keep
// every one of them.
struct SoakEdit {
    enum Kind { Text, Move, Add, Delete } kind;
    std::string side, identity, text;
    int x = 0, y = 0;
    int epoch = 0;             // edits of a later epoch were made after the earlier ones had reached both sides
    bool afterOthers = false;  // made where the other side's earlier edits of the note had arrived
};

class SoakLedger {
public:
    void StartRound(int round);
    // The edits from now on were made after the earlier ones had reached both sides.
    void NextEpoch() { epoch_ = 1; }
    // Records an edit; one it undoes (the same side's, or one both sides had) is no longer expected.
    void Made(SoakEdit edit);
    // What each edit must have left in after, and that nothing else changed since before; prints each loss.
    void Check(const NoteState& before, const NoteState& after);
    const std::vector<SoakEdit>& Edits() const { return edits_; }
    int EditCount() const { return editCount_; }
    int Losses() const { return losses_; }

private:
    bool MovedThere(const NoteRecord& note, const std::string& identity) const;
    void Lost(const std::string& what);

    std::vector<SoakEdit> edits_;
    int round_ = 0, epoch_ = 0, editCount_ = 0, losses_ = 0;
};
