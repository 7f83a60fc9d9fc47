#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWidget>
#include <QProcess>
#include <QThread>
#include <xcb/shape.h>

#include "qt/LyricsWindow_qt.h"
#include "qt/PaintedRects_qt.h"
#include "qt/x11/X11Window_x11.h"

namespace {

void Pump(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

void Xdotool(const QStringList& args) { ASSERT_EQ(QProcess::execute("xdotool", args), 0) << args.join(' ').toStdString(); }

// Presses at a screen point, moves by (dx, dy) in steps and releases.
void Drag(QPoint from, QPoint by) {
    Xdotool({"mousemove", QString::number(from.x()), QString::number(from.y())});
    Pump(150);
    Xdotool({"mousedown", "1"});
    Pump(150);
    for (int step = 1; step <= 4; ++step) {
        const QPoint at = from + by * step / 4;
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
        Pump(80);
    }
    Xdotool({"mouseup", "1"});
    Pump(300);
}

LyricsWindowFactory& Factory() {
    static LyricsWindowFactory factory;
    return factory;
}

// A note of solid blocks: a press well inside it lands on painted pixels.
std::unique_ptr<CLyricsWindow> BlockNote(QRect geometry) {
    std::unique_ptr<NoteWindow> window = Factory().CreateNoteWindow(
        "text_test", {geometry.left(), geometry.top(), geometry.left() + geometry.width(),
                      geometry.top() + geometry.height()});
    auto note = std::unique_ptr<CLyricsWindow>(static_cast<CLyricsWindow*>(window.release()));
    note->SetLook({"\u2588\u2588\u2588\u2588\u2588\u2588", 0xFF0080FF, "DejaVu Sans", 80.0f});
    note->Show(true);
    Pump(400);
    return note;
}

// A plain window that records the presses it gets.
class Beneath : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

}  // namespace

TEST(PaintedRects, CoverExactlyThePaintedPixels) {
    QImage image(20, 10, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 2; y < 6; ++y)
        for (int x = 3; x < 9; ++x) image.setPixel(x, y, 0x40000000);
    image.setPixel(15, 7, 0xFF112233);
    const std::vector<QRect> rects = PaintedRects(image);
    QRegion covered;
    for (const QRect& r : rects) covered |= r;
    EXPECT_EQ(covered, QRegion(3, 2, 6, 4) | QRegion(15, 7, 1, 1));
    EXPECT_EQ(rects.size(), 2u);  // equal runs in consecutive rows merge into one rectangle
}

TEST(NoteWindowX11, PressAndDragOnTheTextMovesTheNoteByTheDragDistance) {
    auto note = BlockNote(QRect(200, 200, 700, 200));
    ASSERT_EQ(note->GetWindowRect()->left, 200);
    Drag(QPoint(200 + 70, 200 + 60), QPoint(160, 90));
    const WindowRect moved = *note->GetWindowRect();
    EXPECT_EQ(moved.left, 360);
    EXPECT_EQ(moved.top, 290);
    EXPECT_EQ(moved.width(), 700);
    EXPECT_EQ(moved.height(), 200);
}

TEST(NoteWindowX11, DragOnTheRightBandWidensTheNoteAndDrawsItAgain) {
    // The blocks run past the window's right edge, so its right band lies on painted pixels.
    auto note = BlockNote(QRect(200, 500, 300, 200));
    const int drawsBefore = note->DrawCount();
    Drag(QPoint(200 + 300 - 8, 500 + 60), QPoint(150, 40));
    const WindowRect widened = *note->GetWindowRect();
    EXPECT_EQ(widened.left, 200);
    EXPECT_EQ(widened.right, 650);
    EXPECT_EQ(widened.height(), 200);
    EXPECT_GT(note->DrawCount(), drawsBefore);
    const QImage image = note->Image();
    EXPECT_EQ(image.width(), 450);
    // The text now reaches further right than the old width.
    int rightmost = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y))) rightmost = std::max(rightmost, x);
    EXPECT_GT(rightmost, 300);
}

TEST(NoteWindowX11, ClickOnATransparentPixelReachesTheWindowBeneath) {
    Beneath beneath;
    beneath.setGeometry(100, 750, 800, 250);
    beneath.show();
    Pump(300);
    auto note = BlockNote(QRect(150, 780, 700, 200));
    // Below the blocks, inside the note's rectangle, nothing is painted.
    Xdotool({"mousemove", "400", "960", "click", "1"});
    Pump(400);
    EXPECT_EQ(beneath.presses, 1);
    // On the blocks the note takes the click.
    Xdotool({"mousemove", "220", "840", "click", "1"});
    Pump(400);
    EXPECT_EQ(beneath.presses, 1);
}

TEST(NoteWindowX11, WithoutACompositingManagerTheWindowTakesTheTextsShape) {
    if (x11::CompositingActive()) GTEST_SKIP() << "a compositing manager runs";
    auto note = BlockNote(QRect(1000, 200, 600, 200));
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11->connection();
    auto* reply = xcb_shape_get_rectangles_reply(
        connection, xcb_shape_get_rectangles(connection, xcb_window_t(note->WindowId()), XCB_SHAPE_SK_BOUNDING), nullptr);
    ASSERT_NE(reply, nullptr);
    QRegion shape;
    const xcb_rectangle_t* rects = xcb_shape_get_rectangles_rectangles(reply);
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply); ++i)
        shape |= QRect(rects[i].x, rects[i].y, rects[i].width, rects[i].height);
    free(reply);
    EXPECT_FALSE(shape.contains(QPoint(590, 190)));  // a transparent corner is cut away
    EXPECT_TRUE(shape.contains(QPoint(40, 60)));     // the first block stays
}
