#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QFontDatabase>

#include <QRegion>

#include "qt/NoteRenderer_qt.h"
#include "qt/PaintedRects_qt.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 200;
constexpr QRgb kBlue = 0xFF0000FF;

QImage Render(NoteRenderer& renderer, const QString& text, int width = kWidth, int height = kHeight) {
    renderer.SetText(text);
    return renderer.Render(width, height);
}

NoteRenderer BlueRenderer(float emSize = 60.0f) {
    NoteRenderer renderer;
    renderer.SetFillColor(kBlue);
    renderer.SetTextFont("DejaVu Sans", 0, emSize);
    return renderer;
}

QRect FillExtent(const QImage& image) {
    QRect extent;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kBlue) extent |= QRect(x, y, 1, 1);
    return extent;
}

// Runs of rows that hold any painted pixel.
int InkedRowRuns(const QImage& image) {
    int runs = 0;
    bool previous = false;
    for (int y = 0; y < image.height(); ++y) {
        bool inked = false;
        for (int x = 0; x < image.width() && !inked; ++x) inked = qAlpha(image.pixel(x, y)) != 0;
        if (inked && !previous) ++runs;
        previous = inked;
    }
    return runs;
}

}  // namespace

TEST(NoteRendererQt, EmptyTextLeavesEveryPixelTransparent) {
    NoteRenderer renderer = BlueRenderer();
    const QImage image = Render(renderer, "");
    ASSERT_EQ(image.size(), QSize(kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) ASSERT_EQ(image.pixel(x, y), 0u);
}

TEST(NoteRendererQt, FillInsideOutlineAtTheEdgeShadowBelowAndTransparentAround) {
    NoteRenderer renderer = BlueRenderer();
    const QImage image = Render(renderer, " \u2588");
    const QRect block = FillExtent(image);
    ASSERT_GT(block.width(), 10);
    ASSERT_GT(block.height(), 10);
    const int midY = block.center().y();
    // Left of the fill: the black outline shows (more opacity than the blue accounts for), then nothing.
    const QRgb edge = image.pixel(block.left() - 1, midY);
    EXPECT_EQ(qRed(edge) + qGreen(edge), 0);
    EXPECT_GT(qAlpha(edge), qBlue(edge) + 40) << std::hex << edge;
    EXPECT_EQ(image.pixel(block.left() - 3, midY), 0u);
    EXPECT_EQ(image.pixel(kWidth - 1, kHeight - 1), 0u);
}

// The glyph's edge falls inside a pixel; the shadow's edge falls inside the pixel 2 further on, with
// the same coverage, at alpha 150 in black.
TEST(NoteRendererQt, ShadowIsTheGlyphTwoPixelsRightAndDownAtAlpha150) {
    NoteRenderer renderer = BlueRenderer();
    const QImage image = Render(renderer, " \u2588");
    const QRect block = FillExtent(image);
    const int midY = block.center().y();
    const int midX = block.center().x();

    const double rightCoverage = qBlue(image.pixel(block.right() + 1, midY)) / 255.0;
    const QRgb rightShadow = image.pixel(block.right() + 3, midY);
    EXPECT_EQ(qRed(rightShadow) + qGreen(rightShadow) + qBlue(rightShadow), 0);
    EXPECT_NEAR(qAlpha(rightShadow), 150 * rightCoverage, 4);
    EXPECT_EQ(image.pixel(block.right() + 4, midY), 0u);

    const double bottomCoverage = qBlue(image.pixel(midX, block.bottom() + 1)) / 255.0;
    EXPECT_NEAR(qAlpha(image.pixel(midX, block.bottom() + 3)), 150 * bottomCoverage, 4);
    EXPECT_EQ(image.pixel(midX, block.bottom() + 4), 0u);
    // Nothing on the other sides: it is offset, not blurred.
    EXPECT_EQ(image.pixel(block.left() - 3, midY), 0u);
}

TEST(NoteRendererQt, CrLfGivesTwoLinesAndLongLinesWrapAtTheWidth) {
    NoteRenderer renderer = BlueRenderer(30.0f);
    EXPECT_EQ(InkedRowRuns(Render(renderer, "ABC")), 1);
    EXPECT_EQ(InkedRowRuns(Render(renderer, "ABC\nABC")), 2);
    const QString longLine = "word word word word word word word word";
    EXPECT_EQ(InkedRowRuns(Render(renderer, longLine, 1000, 300)), 1);
    EXPECT_GE(InkedRowRuns(Render(renderer, longLine, 200, 300)), 3);
    // Nothing is drawn past the right edge when wrapping.
    const QImage narrow = Render(renderer, longLine, 200, 300);
    EXPECT_EQ(narrow.width(), 200);
}

TEST(NoteRendererQt, FacesThatAreNotInstalledStillDrawText) {
    NoteRenderer chinese;
    chinese.SetTextFont("黑体", 0, 40.0f);
    const QStringList chineseFamilies = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    EXPECT_TRUE(chineseFamilies.contains(chinese.FamilyName())) << chinese.FamilyName().toStdString();

    NoteRenderer unknown;
    unknown.SetTextFont("No Such Face 12345", 0, 40.0f);
    EXPECT_FALSE(unknown.FamilyName().isEmpty());
    for (NoteRenderer* renderer : {&chinese, &unknown}) {
        const QImage image = Render(*renderer, "中文 text");
        int inked = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) inked += qAlpha(image.pixel(x, y)) != 0;
        EXPECT_GT(inked, 300);
    }
}

// A note takes the mouse on its words, not only on their pixels: inside the text's box nearly every press
// between letters and words hits, and the gap between the lines and the space beside a short line do not.
TEST(NoteRendererQt, TheMouseTakesTheBoxesOfTheWordsAndLines) {
    NoteRenderer renderer = BlueRenderer(40.0f);
    const QImage image = Render(renderer, "Hello wide world\nok", 600, 200);
    const std::vector<QRect> hits = HitRects(image, QPoint());
    QRegion hitArea;
    for (const QRect& r : hits) hitArea |= r;
    QRegion paintedArea;
    for (const QRect& r : PaintedRects(image)) paintedArea |= r;
    const QRect box = paintedArea.boundingRect();
    const QRect firstLine = hits.front();
    int painted = 0, hit = 0, inFirstLine = 0, hitInFirstLine = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            painted += paintedArea.contains(QPoint(x, y));
            hit += hitArea.contains(QPoint(x, y));
            if (firstLine.contains(x, y)) ++inFirstLine, hitInFirstLine += paintedArea.contains(QPoint(x, y));
        }
    const double boxArea = double(box.width()) * box.height();
    std::printf("share of the text box that takes the mouse: painted pixels %.0f %%, word boxes %.0f %%\n",
                100.0 * painted / boxArea, 100.0 * hit / boxArea);
    EXPECT_LT(double(hitInFirstLine) / inFirstLine, 0.6);  // the glyphs alone leave most of a line to fall through
    EXPECT_TRUE((paintedArea - hitArea).isEmpty());
    ASSERT_EQ(hits.size(), 2u);                      // one box a line: the words' spaces are narrower than a line
    EXPECT_LT(hits[0].bottom(), hits[1].top());      // between the lines the mouse goes through
    EXPECT_LT(hits[1].width(), hits[0].width() / 3);  // and beside the short line
}

// Glyph outlines are kept between notes: each face and size keeps its own, and a note draws the same
// after thousands of other glyphs went through (past what is kept).
TEST(NoteRendererQt, KeptOutlinesBelongToTheirFaceAndSize) {
    NoteRenderer large = BlueRenderer(60.0f);
    const QImage first = Render(large, "Ag");
    NoteRenderer small = BlueRenderer(20.0f);
    QRegion smallInk;
    for (const QRect& r : PaintedRects(Render(small, "Ag"))) smallInk |= r;
    EXPECT_LT(smallInk.boundingRect().height(), 30);  // not the 60-pixel outlines of the same glyphs

    QString many;
    for (char16_t c = 0x4E00; c < 0x4E00 + 4200; ++c) many += QChar(c);
    NoteRenderer chinese;
    chinese.SetTextFont("黑体", 0, 12.0f);
    EXPECT_FALSE(Render(chinese, many, 1200, 1000).isNull());
    NoteRenderer again = BlueRenderer(60.0f);
    // Qt reads an outline a little differently once its font drew at another size: a few antialiasing steps.
    const QImage second = Render(again, "Ag");
    ASSERT_EQ(second.size(), first.size());
    int largest = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            largest = std::max({largest, std::abs(qAlpha(first.pixel(x, y)) - qAlpha(second.pixel(x, y))),
                                std::abs(qBlue(first.pixel(x, y)) - qBlue(second.pixel(x, y)))});
    EXPECT_LE(largest, 32);
}
