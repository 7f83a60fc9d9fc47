#include <gtest/gtest.h>

#include "GdiplusSession.h"
#include "winui/NoteRenderer_win32.h"

namespace {

::testing::Environment* const gdiplus = ::testing::AddGlobalTestEnvironment(new GdiplusSession);

constexpr int kWidth = 400;
constexpr int kHeight = 200;

struct Pixels {
    std::vector<uint32_t> data;
    int width;
    uint32_t At(int x, int y) const { return data[size_t(y) * size_t(width) + size_t(x)]; }
    static uint32_t Alpha(uint32_t p) { return p >> 24; }
};

Pixels Render(NoteRenderer& renderer, const std::wstring& text, int width = kWidth, int height = kHeight) {
    renderer.SetText(text);
    return {renderer.RenderPixels(width, height), width};
}

NoteRenderer& BlueRenderer() {
    static NoteRenderer renderer;
    renderer.SetFillColor(0xFF0000FF);
    renderer.SetTextFont("DejaVu Sans", 0, 60.0f);  // installed by ./test
    return renderer;
}

// The rows that hold any painted pixel, as runs [first, last].
std::vector<std::pair<int, int>> InkedRowRuns(const Pixels& p, int height) {
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < height; ++y) {
        bool inked = false;
        for (int x = 0; x < p.width && !inked; ++x) inked = Pixels::Alpha(p.At(x, y)) != 0;
        if (!inked) continue;
        if (!runs.empty() && runs.back().second == y - 1) runs.back().second = y;
        else runs.push_back({y, y});
    }
    return runs;
}

}  // namespace

TEST(NoteRenderer, EmptyTextLeavesEveryPixelTransparent) {
    const Pixels p = Render(BlueRenderer(), L"");
    for (uint32_t pixel : p.data) ASSERT_EQ(pixel, 0u);
}

// A full block after a space: its inside is pure fill, its edges outlined, its shadow 2 pixels off.
struct Block {
    int left = kWidth, right = -1, top = kHeight, bottom = -1;
};

Block FillExtent(const Pixels& p) {
    Block block;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (p.At(x, y) == 0xFF0000FFu) {
                block.left = std::min(block.left, x);
                block.right = std::max(block.right, x);
                block.top = std::min(block.top, y);
                block.bottom = std::max(block.bottom, y);
            }
    return block;
}

TEST(NoteRenderer, GlyphHasFillInsideBlackOutlineAtItsEdgeAndTransparencyAround) {
    const Pixels p = Render(BlueRenderer(), L" \u2588O");
    const Block block = FillExtent(p);
    ASSERT_GT(block.right - block.left, 10);
    // Opaque black where the fill meets the outside, around the curves of the O.
    int outline = 0;
    for (int y = 1; y + 1 < kHeight; ++y)
        for (int x = 1; x + 1 < kWidth; ++x)
            if (p.At(x, y) == 0xFF000000u &&
                (p.At(x - 1, y) == 0xFF0000FFu || p.At(x + 1, y) == 0xFF0000FFu || p.At(x, y - 1) == 0xFF0000FFu))
                ++outline;
    EXPECT_GT(outline, 10);
    EXPECT_EQ(p.At(0, 0), 0u);
    EXPECT_EQ(p.At(kWidth - 1, kHeight - 1), 0u);
}

TEST(NoteRenderer, ShadowLiesTwoPixelsRightAndDownWithAlpha150) {
    const Pixels p = Render(BlueRenderer(), L" \u2588");
    const Block block = FillExtent(p);
    const int middleX = (block.left + block.right) / 2;
    const int middleY = (block.top + block.bottom) / 2;
    // Past the outline, below and right of the glyph only the shadow remains: black at alpha 150.
    EXPECT_EQ(p.At(middleX, block.bottom + 2), 0x96000000u);
    EXPECT_EQ(p.At(block.right + 2, middleY), 0x96000000u);
    EXPECT_EQ(p.At(middleX, block.bottom + 4), 0u);
    EXPECT_EQ(p.At(block.right + 4, middleY), 0u);
    EXPECT_NE(p.At(middleX, block.top - 1), 0x96000000u);  // none above: it is offset, not blurred
}

TEST(NoteRenderer, CrLfStartsASecondLine) {
    NoteRenderer& renderer = BlueRenderer();
    const auto one = InkedRowRuns(Render(renderer, L"ABC"), kHeight);
    const auto two = InkedRowRuns(Render(renderer, L"ABC\nABC"), kHeight);
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], one[0]);
    EXPECT_GT(two[1].first, one[0].second);
}

TEST(NoteRenderer, MixedChineseAndLatinTextAllDraws) {
    NoteRenderer renderer;
    renderer.SetTextFont("黑体", 0, 38.0f);
    const Pixels p = Render(renderer, L"\u2014\u2014Skyslate2 \u656C\u4E0A", 800, 100);
    int rightmost = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 800; ++x)
            if (Pixels::Alpha(p.At(x, y))) rightmost = std::max(rightmost, x);
    EXPECT_GT(rightmost, 250);  // the Latin and Chinese after the dashes are drawn too
}

TEST(NoteRenderer, UnknownFaceFallsBackToAnInstalledOne) {
    NoteRenderer renderer;
    renderer.SetTextFont("No Such Face 12345", 0, 40.0f);
    EXPECT_NE(renderer.FamilyName(), L"");
    renderer.SetFillColor(0xFFFF0000);
    const Pixels p = Render(renderer, L"\u4E2D\u6587 text");
    int inked = 0;
    for (uint32_t pixel : p.data) inked += Pixels::Alpha(pixel) != 0;
    EXPECT_GT(inked, 200);
}
