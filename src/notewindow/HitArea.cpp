#include "notewindow/HitArea.h"
#include <cstddef>

namespace {

struct Span {
    int first;
    int last;  // inclusive
};

// Runs of true, as inclusive spans.
std::vector<Span> Runs(const std::vector<bool>& marks) {
    std::vector<Span> runs;
    for (int i = 0; i < int(marks.size()); ++i) {
        if (!marks[std::size_t(i)]) continue;
        if (!runs.empty() && runs.back().last == i - 1) runs.back().last = i;
        else runs.push_back({i, i});
    }
    return runs;
}

}  // namespace

std::vector<WindowRect> TextHitBoxes(const uint8_t* pixels, int width, int height, int bytesPerLine) {
    const auto painted = [&](int x, int y) { return pixels[std::size_t(y) * std::size_t(bytesPerLine) + std::size_t(x) * 4 + 3] != 0; };
    std::vector<bool> rowPainted(std::size_t(height), false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width && !rowPainted[std::size_t(y)]; ++x) rowPainted[std::size_t(y)] = painted(x, y);

    std::vector<WindowRect> boxes;
    for (const Span& line : Runs(rowPainted)) {
        std::vector<bool> columnPainted(std::size_t(width), false);
        for (int y = line.first; y <= line.last; ++y)
            for (int x = 0; x < width; ++x)
                if (!columnPainted[std::size_t(x)] && painted(x, y)) columnPainted[std::size_t(x)] = true;
        const int lineHeight = line.last - line.first + 1;
        std::vector<Span> parts;
        for (const Span& run : Runs(columnPainted)) {
            if (!parts.empty() && run.first - parts.back().last - 1 <= lineHeight) parts.back().last = run.last;
            else parts.push_back(run);
        }
        for (const Span& part : parts) boxes.push_back({part.first, line.first, part.last + 1, line.last + 1});
    }
    return boxes;
}
