#include "qt/LyricsWindow_qt.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyleHints>

#include "qt/PaintedRects_qt.h"
#include "qt/x11/X11Window_x11.h"

namespace {

x11::MoveResize ToMoveResize(Edge edge) {
    switch (edge) {
        case Edge::Left: return x11::MoveResize::SizeLeft;
        case Edge::Right: return x11::MoveResize::SizeRight;
        case Edge::Top: return x11::MoveResize::SizeTop;
        case Edge::Bottom: return x11::MoveResize::SizeBottom;
        case Edge::None: break;
    }
    return x11::MoveResize::Move;
}

constexpr int kLeftButton = 1;
constexpr int kHandedOverCheckMs = 50;
constexpr int kQuietChecks = 3;  // the window manager has not moved the window for this many checks

}  // namespace

CLyricsWindow::CLyricsWindow(x11::NoteSurfaces& surfaces, const std::string& className, const WindowRect& rect,
                             std::function<void(CLyricsWindow&)> onDoubleClick, UserPlacedHandler onUserPlaced)
    : surfaces_(surfaces),
      surface_(std::make_unique<x11::NoteSurface>(className, rect)),
      drag_(QGuiApplication::styleHints()->startDragDistance()),
      clicks_(uint32_t(QGuiApplication::styleHints()->mouseDoubleClickInterval()),
              QGuiApplication::styleHints()->startDragDistance()),
      onDoubleClick_(std::move(onDoubleClick)),
      onUserPlaced_(std::move(onUserPlaced)) {
    surfaces_.Add(surface_->Id(), [this](const xcb_generic_event_t& event) { OnEvent(event); });
    handedOverCheck_.setInterval(kHandedOverCheckMs);
    connect(&handedOverCheck_, &QTimer::timeout, this, [this] { CheckWindowManagerDrag(); });
}

CLyricsWindow::~CLyricsWindow() { surfaces_.Remove(surface_->Id()); }

void CLyricsWindow::SetLook(NoteLook look) {
    renderer_.SetLook(std::move(look));
    Draw();
}

std::string CLyricsWindow::Text() const { return renderer_.Text(); }

// Several changes in a row (text, colour, font) give one render, on the next turn of the event loop.
void CLyricsWindow::Draw() {
    if (!surface_->Valid() || drawPending_) return;
    drawPending_ = true;
    QMetaObject::invokeMethod(this, [this] { RenderWhenShown(); }, Qt::QueuedConnection);
}

// A hidden note is drawn only when it is shown.
void CLyricsWindow::RenderWhenShown() {
    if (surface_->Visible()) RenderNow();
}

QImage CLyricsWindow::Image() {
    RenderNow();
    QImage image(surface_->Size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(painted_.origin, painted_.image);
    return image;
}

void CLyricsWindow::RenderNow() {
    if (!drawPending_ || !surface_->Valid()) return;
    drawPending_ = false;
    const QSize size = surface_->Size();
    const QRect previous = renderedSize_ == size ? painted_.Rect() : QRect(QPoint(), size);
    painted_ = renderer_.RenderPainted(size.width(), size.height());
    renderedSize_ = size;
    ++drawCount_;
    UpdateShapes();
    if (!surface_->Visible()) return;  // drawn when it is exposed
    // Outside what is painted now, every pixel is transparent again.
    surface_->Clear(previous);
    Paint(previous | painted_.Rect());
}

// Only the boxes of the lines and words go to the X server: between them every pixel is transparent,
// as the window already is there.
void CLyricsWindow::Paint(const QRect& area) {
    std::vector<QRect> parts;
    parts.reserve(inkBoxes_.size());
    for (const QRect& box : inkBoxes_) parts.push_back(area & box);
    surface_->Put(painted_.image, painted_.origin, parts);
}

void CLyricsWindow::UpdateShapes() {
    inkBoxes_ = HitRects(painted_.image, painted_.origin);
    const std::vector<QRect> input = locked_ ? std::vector<QRect>() : inkBoxes_;
    // Per-pixel alpha shows the desktop through; without it the window takes the text's shape, which also
    // bounds where it takes the mouse. Either way the mouse goes through around the text's lines and words.
    if (surface_->HasAlpha() && x11::CompositingActive())
        surface_->SetShapes({QRect(QPoint(), surface_->Size())}, input);
    else
        surface_->SetShapes(PaintedRects(painted_.image, painted_.origin), input);
}

bool CLyricsWindow::Show(bool visible) {
    if (!surface_->Valid()) return false;
    if (visible && drawPending_) RenderNow();  // shaped before it maps, so that it never shows unshaped
    surface_->SetVisible(visible, surfaces_);
    return true;
}

bool CLyricsWindow::SetTopMost(bool topMost) {
    if (!surface_->Valid()) return false;
    surface_->SetAbove(topMost);
    return true;
}

bool CLyricsWindow::Place(const WindowRect& rect) {
    if (!surface_->Valid()) return false;
    const bool resized = rect.width() != surface_->Size().width() || rect.height() != surface_->Size().height();
    surface_->Configure(rect);
    if (resized) Draw();  // the text wraps at the new width
    return true;
}

std::optional<WindowRect> CLyricsWindow::GetWindowRect() const { return surface_->Geometry(); }

std::optional<WindowRect> CLyricsWindow::TextBounds() {
    RenderNow();
    const std::optional<WindowRect> window = GetWindowRect();
    if (!window || painted_.image.isNull()) return std::nullopt;
    return OnScreen(painted_.Rect(), *window);
}

void CLyricsWindow::SetLocked(bool locked) {
    if (locked == locked_) return;
    locked_ = locked;
    UpdateShapes();
}

void CLyricsWindow::Destroy() {
    handedOverCheck_.stop();
    handedOver_ = HandedOver::No;
    if (surface_->Visible()) surfaces_.DrawCurtain();
    surfaces_.Remove(surface_->Id());
    surface_->Destroy();
}

void CLyricsWindow::OnEvent(const xcb_generic_event_t& event) {
    const x11::SurfaceEvent translated = surface_->Translate(event);
    switch (translated.kind) {
        case x11::SurfaceEvent::Kind::Expose: Paint(translated.area); break;
        case x11::SurfaceEvent::Kind::Resized:
            Draw();  // by the window manager
            [[fallthrough]];
        case x11::SurfaceEvent::Kind::Moved: quietChecks_ = 0; break;
        case x11::SurfaceEvent::Kind::Press: OnPress(translated); break;
        case x11::SurfaceEvent::Kind::Motion: OnMotion(translated); break;
        case x11::SurfaceEvent::Kind::Release: OnRelease(translated); break;
        case x11::SurfaceEvent::Kind::Mapped:
        case x11::SurfaceEvent::Kind::None: break;
    }
}

// A press is a click until the pointer travels the drag distance, so that a double-click reaches the
// note also under a window manager.
void CLyricsWindow::OnPress(const x11::SurfaceEvent& press) {
    if (press.button != kLeftButton) return;
    if (clicks_.Press(press.time, press.root)) {
        drag_.End();
        if (onDoubleClick_) onDoubleClick_(*this);
        return;
    }
    if (const std::optional<WindowRect> place = GetWindowRect()) {
        pressPlace_ = *place;
        drag_.Press(press.local, press.root, *place);
    }
}

// A drag by hand ends here; one the window manager took over never gets here.
void CLyricsWindow::OnRelease(const x11::SurfaceEvent& release) {
    if (release.button != kLeftButton) return;
    const bool dragged = drag_.Dragging();
    if (drag_.End()) Draw();
    if (dragged) TellUserPlace(GetWindowRect());
}

void CLyricsWindow::OnMotion(const x11::SurfaceEvent& motion) {
    if (drag_.Pressed() && motion.leftHeld) {
        ApplyDragStep(drag_.Move(motion.root));
        return;
    }
    const QSize size = surface_->Size();
    surface_->SetCursor(CursorAt(motion.local.x, motion.local.y, size.width(), size.height()));
}

// Where there is a window manager, its own move or resize takes over once the drag begins, told where
// the press was. Without one, the note follows the pointer by hand.
void CLyricsWindow::ApplyDragStep(const DragSession::Step& step) {
    if (step.kind == DragSession::Step::Kind::None) return;
    if (step.kind == DragSession::Step::Kind::Start &&
        surface_->StartWindowManagerDrag(drag_.PressPoint(), ToMoveResize(step.edge))) {
        drag_.End();
        WatchWindowManagerDrag();
        return;
    }
    Place(step.rect);
}

void CLyricsWindow::WatchWindowManagerDrag() {
    handedOver_ = HandedOver::ButtonHeld;
    quietChecks_ = 0;
    handedOverCheck_.start();
}

void CLyricsWindow::CheckWindowManagerDrag() {
    if (handedOver_ == HandedOver::ButtonHeld) {
        if (!x11::LeftButtonHeld()) handedOver_ = HandedOver::Settling;
        return;
    }
    if (handedOver_ != HandedOver::Settling || ++quietChecks_ < kQuietChecks) return;
    handedOver_ = HandedOver::No;
    handedOverCheck_.stop();
    TellUserPlace(surface_->GeometryFromServer());
}

void CLyricsWindow::TellUserPlace(std::optional<WindowRect> place) {
    if (place && *place != pressPlace_ && onUserPlaced_) onUserPlaced_(*this, *place);
}

std::unique_ptr<NoteWindow> LyricsWindowFactory::CreateNoteWindow(const std::string& className,
                                                                  const WindowRect& rect) {
    auto window = std::make_unique<CLyricsWindow>(
        surfaces_, className, rect,
        [this](CLyricsWindow& note) {
            if (onDoubleClick) onDoubleClick(note);
        },
        [this](NoteWindow& note, const WindowRect& place) {
            if (onUserPlaced) onUserPlaced(note, place);
        });
    if (!window->WindowId()) return nullptr;
    return window;  // hidden until its note is shown
}
