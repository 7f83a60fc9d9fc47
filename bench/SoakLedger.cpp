#include "SoakLedger.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

void SoakLedger::StartRound(int round) {
    round_ = round;
    epoch_ = 0;
    edits_.clear();
}

// The newest edit undoes what an earlier one on its note left, when the same side made both, or the earlier
// one had reached both sides: a text replaces texts, a move moves, a delete ends both.
void SoakLedger::Made(SoakEdit edit) {
    edit.epoch = epoch_;
    ++editCount_;
    if (std::getenv("SOAK_VERBOSE"))
        std::printf("  %s: edit %d on %s %s %d,%d\n", edit.side.c_str(), int(edit.kind), edit.identity.c_str(),
                    edit.text.c_str(), edit.x, edit.y);
    const auto undone = [&](const SoakEdit& earlier) {
        if (earlier.identity != edit.identity) return false;
        if (earlier.side != edit.side && earlier.epoch == edit.epoch && !edit.afterOthers) return false;
        const bool text = earlier.kind == SoakEdit::Text || earlier.kind == SoakEdit::Add;
        if (edit.kind == SoakEdit::Delete) return true;
        return edit.kind == SoakEdit::Move ? earlier.kind == SoakEdit::Move : text;
    };
    edits_.erase(std::remove_if(edits_.begin(), edits_.end(), undone), edits_.end());
    edits_.push_back(std::move(edit));
}

void SoakLedger::Check(const NoteState& before, const NoteState& after) {
    std::map<std::string, const NoteRecord*> now, then;
    std::set<std::string> texts;
    for (const NoteRecord& row : after.table.rows) now[row.identity] = &row, texts.insert(row.text);
    for (const NoteRecord& row : before.table.rows) then[row.identity] = &row;
    std::map<std::string, std::set<std::string>> touchedBy;  // identity -> sides that changed it
    for (const SoakEdit& edit : edits_) touchedBy[edit.identity].insert(edit.side);
    for (const SoakEdit& edit : edits_) {
        const auto note = now.find(edit.identity);
        switch (edit.kind) {
            case SoakEdit::Text:
            case SoakEdit::Add:
                if (!texts.count(edit.text)) Lost("text " + edit.text);
                break;
            case SoakEdit::Move:
                if (note == now.end())
                    Lost("moved note " + edit.identity);
                else if (!MovedThere(*note->second, edit.identity))
                    Lost("move of " + edit.identity);
                break;
            case SoakEdit::Delete:
                if (note != now.end() && touchedBy[edit.identity].size() < 2) Lost("delete of " + edit.identity);
                break;
        }
    }
    for (const auto& [identity, old] : then) {
        if (touchedBy.count(identity)) continue;
        const auto note = now.find(identity);
        if (note == now.end() || note->second->text != old->text || note->second->positionX != old->positionX ||
            note->second->positionY != old->positionY)
            Lost("untouched note " + old->text + " changed or went");
    }
}

bool SoakLedger::MovedThere(const NoteRecord& note, const std::string& identity) const {
    for (const SoakEdit& edit : edits_)
        if (edit.kind == SoakEdit::Move && edit.identity == identity && note.positionX == edit.x &&
            note.positionY == edit.y)
            return true;
    return false;
}

void SoakLedger::Lost(const std::string& what) {
    ++losses_;
    std::printf("  round %d LOST: %s\n", round_, what.c_str());
}
