#include <gtest/gtest.h>

#include "EdgeBands.h"

TEST(EdgeBands, BandsIncludeTheirBoundsAndTheFirstWins) {
    const int w = 400, h = 200;
    EXPECT_EQ(EdgeAt(20, 100, w, h), Edge::Left);
    EXPECT_EQ(EdgeAt(21, 100, w, h), Edge::None);
    EXPECT_EQ(EdgeAt(380, 100, w, h), Edge::Right);
    EXPECT_EQ(EdgeAt(379, 100, w, h), Edge::None);
    EXPECT_EQ(EdgeAt(200, 10, w, h), Edge::Top);
    EXPECT_EQ(EdgeAt(200, 11, w, h), Edge::None);
    EXPECT_EQ(EdgeAt(200, 190, w, h), Edge::Bottom);
    // Corners belong to the side bands.
    EXPECT_EQ(EdgeAt(5, 5, w, h), Edge::Left);
    EXPECT_EQ(EdgeAt(395, 195, w, h), Edge::Right);
    // A window narrower than both bands: the left one wins.
    EXPECT_EQ(EdgeAt(20, 100, 40, h), Edge::Left);  // also in the right band
}

TEST(EdgeBands, CursorsFollowTheBands) {
    EXPECT_EQ(CursorAt(5, 5, 400, 200), SizeCursor::WestEast);  // top-left corner: west-east, not north-south
    EXPECT_EQ(CursorAt(200, 5, 400, 200), SizeCursor::NorthSouth);
    EXPECT_EQ(CursorAt(200, 195, 400, 200), SizeCursor::NorthSouth);
    EXPECT_EQ(CursorAt(200, 100, 400, 200), SizeCursor::Arrow);
}
