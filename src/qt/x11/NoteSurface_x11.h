#pragma once

#include <QAbstractNativeEventFilter>
#include <QImage>
#include <QRect>

#include <xcb/xcb.h>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "notewindow/DragSession.h"
#include "notewindow/EdgeBands.h"
#include "frontend/FrontEnd.h"

namespace x11 {

// What the X server tells a note window, in physical pixels.
struct SurfaceEvent {
    enum class Kind { None, Press, Release, Motion, Expose, Moved, Resized, Mapped };
    Kind kind = Kind::None;
    int button = 0;         // Press, Release
    Point local;            // Press, Release, Motion
    Point root;             // Press, Release, Motion
    uint32_t time = 0;      // Press, Release: the server's milliseconds
    bool leftHeld = false;  // Motion
    QRect area;             // Expose
};

// The window manager's own move, or resize of one edge, as _NET_WM_MOVERESIZE counts them.
enum class MoveResize : uint32_t { SizeTop = 1, SizeRight = 3, SizeBottom = 5, SizeLeft = 7, Move = 8 };

// One note's X window, on Qt's connection but not a Qt window: created hidden, frameless, never given
// the focus, out of task bars and pagers, with per-pixel alpha where a compositing manager runs. The
// program puts the painted part of the note straight into it: no buffer of the whole window exists, and
// nothing is asked of the X server that would make the program wait, but where a window manager moved
// the window without saying where.
class NoteSurface {
public:
    NoteSurface(const std::string& name, const WindowRect& rect);
    ~NoteSurface();
    NoteSurface(const NoteSurface&) = delete;
    NoteSurface& operator=(const NoteSurface&) = delete;

    xcb_window_t Id() const { return window_; }
    bool Valid() const { return window_ != XCB_NONE; }
    // Hides at once; a shown window maps with the others shown in the same turn of the event loop.
    void SetVisible(bool visible, class NoteSurfaces& surfaces);
    bool Visible() const { return visible_; }
    // Maps the window directly below another one (XCB_NONE: on top).
    void MapBelow(xcb_window_t above);
    void SetAbove(bool above);
    void Configure(const WindowRect& rect);
    std::optional<WindowRect> Geometry();
    // Where the window is now, asked of the X server: after a window manager's move, whose last
    // notice may give the place in its frame.
    std::optional<WindowRect> GeometryFromServer() {
        positionKnown_ = false;
        return Geometry();
    }
    QSize Size() const { return QSize(rect_.width(), rect_.height()); }
    bool HasAlpha() const { return depth_ == 32; }
    // Where the window shows at all, and where it takes the mouse.
    void SetShapes(const std::vector<QRect>& bounding, const std::vector<QRect>& input);
    // Makes area transparent (a window with per-pixel alpha; without it, its shape hides the area).
    void Clear(const QRect& area);
    // Puts what of image (lying at origin in the window) falls into each of areas.
    void Put(const QImage& image, QPoint origin, const std::vector<QRect>& areas);
    void SetCursor(SizeCursor cursor);
    // Hands a drag that began with the left button at pressRoot over to the window manager; false where
    // there is none that offers it.
    bool StartWindowManagerDrag(Point pressRoot, MoveResize direction);
    void Destroy();
    // Keeps what the event says about the window, and says what it means for the note.
    SurfaceEvent Translate(const xcb_generic_event_t& event);

private:
    void SetNetWmState();
    void ApplyShapes();
    void PutPart(const QImage& image, QPoint origin, const QRect& part);

    xcb_window_t window_ = XCB_NONE;
    uint8_t depth_ = 0;
    WindowRect rect_;
    bool positionKnown_ = true;  // false once a window manager took the window in without saying where
    bool reparented_ = false;
    bool ownPlace_ = false;  // not the window manager's (override-redirect)
    bool visible_ = false;
    bool above_ = true;
    SizeCursor cursor_ = SizeCursor::Arrow;
    std::vector<QRect> bounding_;
    std::vector<QRect> input_;
};

// What the note windows share on the X server: their events, handed to each note's handler; the mapping
// of the notes shown in one turn of the event loop, together; and a curtain while notes close. Installed
// on the application as a native event filter for as long as it lives.
class NoteSurfaces : public QAbstractNativeEventFilter {
public:
    NoteSurfaces();
    ~NoteSurfaces() override;
    NoteSurfaces(const NoteSurfaces&) = delete;
    NoteSurfaces& operator=(const NoteSurfaces&) = delete;

    void Add(xcb_window_t window, std::function<void(const xcb_generic_event_t&)> handler);
    void Remove(xcb_window_t window);
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

    // Maps the surface on the next turn of the event loop, with the others shown until then.
    void QueueMap(NoteSurface& surface);
    void CancelMap(NoteSurface& surface);
    // Before note windows go away: see Curtain in the .cpp.
    void DrawCurtain();

private:
    void MapQueued();
    void RemoveCurtain();

    std::unordered_map<xcb_window_t, std::function<void(const xcb_generic_event_t&)>> handlers_;
    std::vector<NoteSurface*> toMap_;  // in the order they were shown
    xcb_window_t curtain_ = XCB_NONE;
};

}  // namespace x11
