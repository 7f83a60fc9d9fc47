#include "notewindow/LyricsWindow_qt.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWindow>

#include <cmath>

#include "notewindow/ScreenPixels_qt.h"
#include "x11/X11Window_x11.h"

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

}  // namespace

CLyricsWindow::CLyricsWindow(const QString& className, std::function<void(CLyricsWindow&)> onDoubleClick)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint),
      drag_(QGuiApplication::styleHints()->startDragDistance()),
      onDoubleClick_(std::move(onDoubleClick)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setWindowTitle(className);
    setWindowRole(className);  // lets tools find a note by its class name
    winId();                   // the native window exists from here on
    x11::SkipTaskbarAndPager(*this);
}

void CLyricsWindow::SetLook(NoteLook look) {
    renderer_.SetLook(std::move(look));
    Draw();
}

std::string CLyricsWindow::Text() const { return renderer_.Text(); }



// Several changes in a row (text, colour, font) give one render, on the next turn of the event loop or
// before the next paint, whichever comes first.
void CLyricsWindow::Draw() {
    if (destroyed_ || drawPending_) return;
    drawPending_ = true;
    QMetaObject::invokeMethod(this, [this] { RenderWhenShown(); }, Qt::QueuedConnection);
}

// A hidden note is drawn only when it is shown.
void CLyricsWindow::RenderWhenShown() {
    if (isVisible()) RenderNow();
}

QImage CLyricsWindow::Image() {
    RenderNow();
    QImage image(PhysicalSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(painted_.origin, painted_.image);
    return image;
}

qreal CLyricsWindow::Ratio() const { return pixels::Ratio(screen()); }

QSize CLyricsWindow::PhysicalSize() const {
    return QSize(int(std::lround(width() * Ratio())), int(std::lround(height() * Ratio())));
}

Point CLyricsWindow::PhysicalLocal(const QPointF& logical) const {
    return {int32_t(std::lround(logical.x() * Ratio())), int32_t(std::lround(logical.y() * Ratio()))};
}

Point CLyricsWindow::PhysicalScreen(const QPointF& logicalGlobal) const {
    const QPointF physical = pixels::ToPhysical(logicalGlobal, screen());
    return {int32_t(std::lround(physical.x())), int32_t(std::lround(physical.y()))};
}

// The text is drawn at the screen's own resolution, so that it stays sharp where the desktop is scaled.
void CLyricsWindow::RenderNow() {
    if (!drawPending_ || destroyed_) return;
    drawPending_ = false;
    const QSize size = PhysicalSize();
    const QRect previous = renderedSize_ == size ? painted_.Rect() : QRect(QPoint(), size);
    painted_ = renderer_.RenderPainted(size.width(), size.height());
    renderedSize_ = size;
    ++drawCount_;
    UpdateShapes();
    // Outside what was painted before and what is painted now, every pixel stays transparent.
    const QRect changed = previous | painted_.Rect();
    const qreal ratio = Ratio();
    update(QRectF(changed.x() / ratio, changed.y() / ratio, changed.width() / ratio, changed.height() / ratio)
               .toAlignedRect());
}

// Shapes are in the X server's own pixels: physical ones.
void CLyricsWindow::UpdateShapes() {
    std::vector<QRect> painted = x11::PaintedRects(painted_.image);
    for (QRect& r : painted) r.translate(painted_.origin);
    const QRect whole(QPoint(), PhysicalSize());
    if (x11::CompositingActive()) {
        // Per-pixel alpha shows the desktop through; the mouse goes through where nothing is painted.
        x11::SetBoundingShape(*this, {whole});
        x11::SetInputShape(*this, locked_ ? std::vector<QRect>() : painted);
    } else {
        // No per-pixel alpha: the window takes the text's shape, which also limits where it takes the mouse.
        x11::SetBoundingShape(*this, painted);
        x11::SetInputShape(*this, locked_ ? std::vector<QRect>() : std::vector<QRect>{whole});
    }
}

bool CLyricsWindow::Show(bool visible) {
    if (destroyed_) return false;
    // Drawn and shaped before it maps, so that it never shows unshaped.
    if (visible && drawPending_) RenderNow();
    setVisible(visible);
    return true;
}

bool CLyricsWindow::SetTopMost(bool topMost) {
    if (destroyed_) return false;
    if (topMost == topMost_) return true;
    topMost_ = topMost;
    if (QWindow* window = windowHandle()) window->setFlag(Qt::WindowStaysOnTopHint, topMost);
    if (topMost && isVisible()) raise();
    return true;
}

bool CLyricsWindow::Place(const WindowRect& rect) {
    if (destroyed_) return false;
    setGeometry(pixels::ToLogical(rect, pixels::ScreenOf(rect)));
    placedPhysical_ = rect;
    placedLogical_ = geometry();
    return true;
}

std::optional<WindowRect> CLyricsWindow::GetWindowRect() const {
    if (destroyed_) return std::nullopt;
    const QRect logical = geometry();  // a note has no frame: this is its window rectangle
    if (logical == placedLogical_) return placedPhysical_;
    return pixels::ToPhysical(logical, screen());
}

void CLyricsWindow::SetLocked(bool locked) {
    if (locked == locked_) return;
    locked_ = locked;
    setAttribute(Qt::WA_TransparentForMouseEvents, locked);
    UpdateShapes();
}

void CLyricsWindow::Destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    hide();
    destroy();
}

void CLyricsWindow::paintEvent(QPaintEvent* event) {
    RenderNow();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(event->rect(), Qt::transparent);
    QImage image = painted_.image;  // shared, not copied
    image.setDevicePixelRatio(Ratio());
    painter.drawImage(QPointF(painted_.origin) / Ratio(), image);
}

void CLyricsWindow::resizeEvent(QResizeEvent*) {
    // Again at the new size, so the text wraps at the new width.
    if (renderedSize_ != PhysicalSize()) {
        Draw();
        RenderNow();
    }
}

// A press is a click until the pointer travels the drag distance: a double-click reaches the note also
// where a window manager would take the pointer at once for its own move.
void CLyricsWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const std::optional<WindowRect> place = GetWindowRect())
        drag_.Press(PhysicalLocal(event->position()), PhysicalScreen(event->globalPosition()), *place);
}

void CLyricsWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_.Pressed()) {
        UpdateCursor(PhysicalLocal(event->position()));
        return;
    }
    ApplyDragStep(drag_.Move(PhysicalScreen(event->globalPosition())));
}

// Where there is a window manager, its own move or resize takes over once the drag begins, told where
// the press was. Without one, the note follows the pointer by hand.
void CLyricsWindow::ApplyDragStep(const DragSession::Step& step) {
    if (step.kind == DragSession::Step::Kind::None) return;
    if (step.kind == DragSession::Step::Kind::Start) {
        const Point press = drag_.PressPoint();
        if (x11::StartWindowManagerDrag(*this, press.x, press.y, ToMoveResize(step.edge))) {
            drag_.End();
            return;
        }
    }
    Place(step.rect);
}

void CLyricsWindow::mouseReleaseEvent(QMouseEvent*) {
    if (drag_.End()) Draw();
}

void CLyricsWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    drag_.End();
    if (event->button() == Qt::LeftButton && onDoubleClick_) onDoubleClick_(*this);
}

void CLyricsWindow::UpdateCursor(Point local) {
    const QSize size = PhysicalSize();
    switch (CursorAt(local.x, local.y, size.width(), size.height())) {
        case SizeCursor::WestEast: setCursor(Qt::SizeHorCursor); break;
        case SizeCursor::NorthSouth: setCursor(Qt::SizeVerCursor); break;
        case SizeCursor::Arrow: unsetCursor(); break;
    }
}

std::unique_ptr<NoteWindow> LyricsWindowFactory::CreateNoteWindow(const std::string& className,
                                                                  const WindowRect& rect) {
    auto window = std::make_unique<CLyricsWindow>(QString::fromStdString(className), [this](CLyricsWindow& note) {
        if (onDoubleClick) onDoubleClick(note);
    });
    window->Place(rect);
    return window;  // hidden until its note is shown
}
