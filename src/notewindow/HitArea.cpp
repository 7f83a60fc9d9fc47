#include "notewindow/HitArea.h"
#include <algorithm>
#include <cstddef>

namespace {

struct Span {
    int first;
    int last;  // inclusive
};

// Runs of true, as inclusive spans.
std::vector<Span> Runs(const std::vector<uint8_t>& marks) {
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
    const auto alphas = [&](int y) { return pixels + std::size_t(y) * std::size_t(bytesPerLine) + 3; };
    std::vector<uint8_t> rowPainted(std::size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* alpha = alphas(y);
        for (int x = 0; x < width && !rowPainted[std::size_t(y)]; ++x) rowPainted[std::size_t(y)] = alpha[x * 4] != 0;
    }

    std::vector<WindowRect> boxes;
    std::vector<uint8_t> columnPainted(static_cast<std::size_t>(width));
    for (const Span& line : Runs(rowPainted)) {
        std::fill(columnPainted.begin(), columnPainted.end(), 0);
        for (int y = line.first; y <= line.last; ++y) {
            const uint8_t* alpha = alphas(y);
            for (int x = 0; x < width; ++x) columnPainted[std::size_t(x)] |= alpha[x * 4] != 0;
        }
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
