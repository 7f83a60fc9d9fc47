#include "notewindow/LyricsWindow_qt.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include "x11/X11Window_x11.h"

namespace {

Qt::Edges ToQtEdges(Edge edge) {
    switch (edge) {
        case Edge::Left: return Qt::LeftEdge;
        case Edge::Right: return Qt::RightEdge;
        case Edge::Top: return Qt::TopEdge;
        case Edge::Bottom: return Qt::BottomEdge;
        case Edge::None: break;
    }
    return {};
}

}  // namespace

CLyricsWindow::CLyricsWindow(const QString& className, std::function<void(CLyricsWindow&)> onDoubleClick)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint),
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
    renderer_.SetText(std::move(look.text));
    renderer_.SetFillColor(look.color);
    renderer_.SetTextFont(QString::fromStdString(look.face), look.style, look.emSize);
    Draw();
}

void CLyricsWindow::SetText(const std::string& text) {
    renderer_.SetText(text);
    Draw();
}

std::string CLyricsWindow::Text() const { return renderer_.Text(); }

void CLyricsWindow::SetFillColor(uint32_t argb) { renderer_.SetFillColor(argb); }

void CLyricsWindow::SetTextFont(const std::string& face, int style, float emSize) {
    renderer_.SetTextFont(QString::fromStdString(face), style, emSize);
}

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
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawImage(painted_.origin, painted_.image);
    return image;
}

void CLyricsWindow::RenderNow() {
    if (!drawPending_ || destroyed_) return;
    drawPending_ = false;
    const QRect previous = renderedSize_ == size() ? painted_.Rect() : rect();
    painted_ = renderer_.RenderPainted(width(), height());
    renderedSize_ = size();
    ++drawCount_;
    UpdateShapes();
    // Outside what was painted before and what is painted now, every pixel stays transparent.
    update(previous | painted_.Rect());
}

void CLyricsWindow::UpdateShapes() {
    std::vector<QRect> painted = x11::PaintedRects(painted_.image);
    for (QRect& r : painted) r.translate(painted_.origin);
    if (x11::CompositingActive()) {
        // Per-pixel alpha shows the desktop through; the mouse goes through where nothing is painted.
        x11::SetBoundingShape(*this, {rect()});
        x11::SetInputShape(*this, locked_ ? std::vector<QRect>() : painted);
    } else {
        // No per-pixel alpha: the window takes the text's shape, which also limits where it takes the mouse.
        x11::SetBoundingShape(*this, painted);
        x11::SetInputShape(*this, locked_ ? std::vector<QRect>() : std::vector<QRect>{rect()});
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
    setGeometry(rect.left, rect.top, rect.width(), rect.height());
    return true;
}

std::optional<WindowRect> CLyricsWindow::GetWindowRect() const {
    if (destroyed_) return std::nullopt;
    const QRect frame = frameGeometry();
    return WindowRect{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
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
    painter.drawImage(painted_.origin, painted_.image);
}

void CLyricsWindow::resizeEvent(QResizeEvent*) {
    // Again at the new size, so the text wraps at the new width.
    if (renderedSize_ != size()) {
        Draw();
        RenderNow();
    }
}

void CLyricsWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    const Edge edge = EdgeAt(pos.x(), pos.y(), width(), height());
    // The window manager's own move and resize where it offers them, by hand otherwise.
    QWindow* window = windowHandle();
    const bool systemDrag = window && (edge == Edge::None ? window->startSystemMove()
                                                          : window->startSystemResize(ToQtEdges(edge)));
    if (!systemDrag) drag_ = Drag{edge, *GetWindowRect(), event->globalPosition().toPoint()};
}

void CLyricsWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_) {
        UpdateCursor(event->position().toPoint());
        return;
    }
    const QPoint delta = event->globalPosition().toPoint() - drag_->press;
    const WindowRect rect = DraggedRect(drag_->start, drag_->edge, delta.x(), delta.y());
    if (drag_->edge == Edge::None) move(rect.left, rect.top);
    else setGeometry(rect.left, rect.top, rect.width(), rect.height());
}

void CLyricsWindow::mouseReleaseEvent(QMouseEvent*) { drag_.reset(); }

void CLyricsWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    drag_.reset();
    if (event->button() == Qt::LeftButton && onDoubleClick_) onDoubleClick_(*this);
}

void CLyricsWindow::UpdateCursor(const QPoint& pos) {
    switch (CursorAt(pos.x(), pos.y(), width(), height())) {
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
    window->setGeometry(rect.left, rect.top, rect.width(), rect.height());
    return window;  // hidden until its note is shown
}
