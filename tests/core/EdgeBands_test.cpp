#include <gtest/gtest.h>

#include "notewindow/EdgeBands.h"

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

#include "notewindow/NoteWindow.h"

TEST(EdgeBands, DragMovesOrResizesOneEdgeAndKeepsRoomForTheBands) {
    const WindowRect start{100, 100, 500, 300};
    const WindowRect moved = DraggedRect(start, Edge::None, 30, -20);
    EXPECT_EQ(moved.left, 130);
    EXPECT_EQ(moved.top, 80);
    EXPECT_EQ(moved.width(), 400);
    EXPECT_EQ(moved.height(), 200);

    const WindowRect wider = DraggedRect(start, Edge::Right, 50, 999);
    EXPECT_EQ(wider.right, 550);
    EXPECT_EQ(wider.top, 100);
    EXPECT_EQ(wider.bottom, 300);
    EXPECT_EQ(DraggedRect(start, Edge::Left, -10, 0).left, 90);
    EXPECT_EQ(DraggedRect(start, Edge::Top, 0, 15).top, 115);
    EXPECT_EQ(DraggedRect(start, Edge::Bottom, 0, 15).bottom, 315);

    EXPECT_EQ(DraggedRect(start, Edge::Left, 1000, 0).width(), kMinNoteWidth);
    EXPECT_EQ(DraggedRect(start, Edge::Bottom, 0, -1000).height(), kMinNoteHeight);
}
