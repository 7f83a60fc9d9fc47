#include <gtest/gtest.h>

#include "notewindow/ClickCounter.h"
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

#include "frontend/FrontEnd.h"

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

#include "notewindow/ClickCounter.h"
#include "notewindow/DragSession.h"

TEST(DragSession, APressIsAClickUntilThePointerTravelsTheDragDistance) {
    const WindowRect window{100, 100, 500, 300};
    const struct {
        Point press;  // in the window
        Point to;     // on the screen, from a press at (press + window origin)
        DragSession::Step::Kind kind;
        WindowRect rect;
    } cases[] = {
        {{200, 100}, {303, 197}, DragSession::Step::Kind::None, {}},                // 3 px: still a click
        {{200, 100}, {304, 200}, DragSession::Step::Kind::Start, {104, 100, 504, 300}},  // 4 px: a move
        {{200, 100}, {300, 190}, DragSession::Step::Kind::Start, {100, 90, 500, 290}},
        {{395, 100}, {545, 200}, DragSession::Step::Kind::Start, {100, 100, 550, 300}},  // right band: wider
        {{5, 5}, {95, 105}, DragSession::Step::Kind::Start, {90, 100, 500, 300}},        // corner: the left edge
    };
    for (const auto& c : cases) {
        DragSession drag(4);
        drag.Press(c.press, {window.left + c.press.x, window.top + c.press.y}, window);
        const DragSession::Step step = drag.Move(c.to);
        EXPECT_EQ(step.kind, c.kind) << c.to.x << "," << c.to.y;
        if (step.kind != DragSession::Step::Kind::None) {
            EXPECT_EQ(step.rect, c.rect) << c.to.x << "," << c.to.y;
            EXPECT_EQ(step.redraw, c.press.x > 390 || c.press.x < 20);
        }
    }
}

TEST(DragSession, FollowsUntilTheEndAndSaysWhenAResizeEnded) {
    DragSession drag(10);
    const WindowRect window{0, 0, 400, 200};
    drag.Press({200, 100}, {200, 100}, window);
    EXPECT_EQ(drag.Move({205, 100}).kind, DragSession::Step::Kind::None);
    EXPECT_EQ(drag.Move({230, 100}).kind, DragSession::Step::Kind::Start);
    const DragSession::Step step = drag.Move({250, 120});
    EXPECT_EQ(step.kind, DragSession::Step::Kind::Follow);
    EXPECT_EQ(step.rect, (WindowRect{50, 20, 450, 220}));  // the whole way from the press, not from the start
    EXPECT_FALSE(drag.End());  // a move: nothing to draw again
    EXPECT_EQ(drag.Move({300, 300}).kind, DragSession::Step::Kind::None);  // no press any more

    drag.Press({398, 100}, {398, 100}, window);
    EXPECT_FALSE(drag.End());  // a click on the edge resized nothing
    drag.Press({398, 100}, {398, 100}, window);
    drag.Move({450, 100});
    EXPECT_TRUE(drag.End());
}

TEST(ClickCounter, ASecondPressSoonAndNearCompletesADoubleClick) {
    const struct {
        uint32_t secondTime;
        Point secondAt;
        bool isDouble;
    } cases[] = {
        {1500, {102, 98}, true},
        {1500, {106, 100}, false},       // too far
        {1501, {100, 100}, false},       // too late
        {999, {100, 100}, false},        // the clock went back: not "soon"
    };
    for (const auto& c : cases) {
        ClickCounter clicks(500, 4);
        EXPECT_FALSE(clicks.Press(1000, {100, 100}));
        EXPECT_EQ(clicks.Press(c.secondTime, c.secondAt), c.isDouble) << c.secondTime << " " << c.secondAt.x;
    }
    ClickCounter clicks(500, 4);
    EXPECT_FALSE(clicks.Press(0xFFFFFF00u, {0, 0}));
    EXPECT_TRUE(clicks.Press(0x00000010u, {0, 0}));  // across the wrap of the millisecond clock
    EXPECT_FALSE(clicks.Press(0x00000020u, {0, 0}));  // a third press starts anew
    EXPECT_TRUE(clicks.Press(0x00000030u, {0, 0}));
}
