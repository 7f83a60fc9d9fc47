#include <gtest/gtest.h>

#include <climits>

#include "notewindow/Placement.h"

namespace {

const Monitor kLeft{{0, 0, 1600, 1000}, {0, 0, 1600, 960}};
const Monitor kRight{{1600, 0, 3520, 1080}, {1600, 30, 3520, 1080}};

}  // namespace

TEST(Placement, FileValuesBecomeRectanglesWindowSystemsHandle) {
    EXPECT_EQ(SaneRect(100, 200, 300, 400), (WindowRect{100, 200, 400, 600}));
    EXPECT_EQ(SaneRect(500, 500, -1, -5), (WindowRect{500, 500, 1700, 1000}));  // negative: the default size
    EXPECT_EQ(SaneRect(10, 10, 0, 0), (WindowRect{10, 10, 10, 10}));
    const WindowRect huge = SaneRect(INT_MAX, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(huge.left, 30000);
    EXPECT_EQ(huge.top, -30000);
    EXPECT_EQ(huge.width(), 30000);
    EXPECT_EQ(huge.height(), 30000);
}

TEST(Placement, NotesOffEveryMonitorComeOntoTheNearestWorkArea) {
    const std::vector<Monitor> both{kLeft, kRight};
    const struct {
        const char* what;
        WindowRect note;
        WindowRect expected;
    } cases[] = {
        {"on screen", {100, 100, 500, 300}, {100, 100, 500, 300}},
        {"mostly off, a usable part shows", {1560, 980, 1960, 1180}, {1560, 980, 1960, 1180}},
        {"far right and below", {5000, 5000, 5400, 5200}, {3120, 880, 3520, 1080}},
        {"far left", {-3000, 300, -2600, 500}, {0, 300, 400, 500}},
        {"only a sliver shows", {1590, 100, 1990, 300}, {1590, 100, 1990, 300}},  // it is on the right monitor
        {"a sliver on the outside", {-390, 100, 10, 300}, {0, 100, 400, 300}},
        {"above the right monitor", {2000, -500, 2400, -300}, {2000, 30, 2400, 230}},
        {"larger than the desktop", {0, 0, 9000, 9000}, {0, 0, 3520, 1080}},
        {"no size at all, off screen", {8000, 8000, 8000, 8000}, {3520, 1080, 3520, 1080}},
    };
    for (const auto& c : cases) EXPECT_EQ(KeepOnScreen(c.note, both), c.expected) << c.what;
    EXPECT_EQ(KeepOnScreen({5000, 5000, 5400, 5200}, {}), (WindowRect{5000, 5000, 5400, 5200}));  // none known
}
