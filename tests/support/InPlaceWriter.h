#pragma once

#include <string>

// What the tests of a writer rewriting the notes file in place start from, and what the writer writes: seven
// notes of solid blocks (a press inside one lands on painted pixels); the writer changes note 3's text and
// moves note 6 down by 40 pixels.
namespace in_place {

constexpr int kNotes = 7;
constexpr const char* kWrittenText = "\xE2\x96\x88 written elsewhere";
constexpr int kMovedNote = 6;
constexpr int kMovedBy = 40;

struct Place {
    int x = 0, y = 0;
};
inline Place PlaceOf(int note) { return {20 + 400 * (note % 4), 20 + 300 * (note / 4)}; }

inline std::string Notes(bool written) {
    std::string file;
    for (int i = 0; i < kNotes; ++i) {
        const Place at = PlaceOf(i);
        const int y = at.y + (written && i == kMovedNote ? kMovedBy : 0);
        const std::string text = written && i == 3 ? kWrittenText : "\xE2\x96\x88\xE2\x96\x88 " + std::to_string(i);
        file += "[Text_" + std::to_string(i) + "]\nisShow=1\nnoteId=note000" + std::to_string(i) + "\npositionX=" +
                std::to_string(at.x) + "\npositionY=" + std::to_string(y) +
                "\nwidth=600\nheight=200\ncolor=0,128,255\nfont=DejaVu Sans\nfontSize=800\ntext=" + text + "\n";
    }
    return file;
}

}  // namespace in_place
