#include "qt/wayland/LayerNoteWindow_wl.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleHints>
#include <QWidget>

#include <algorithm>

#include "qt/PaintedRects_qt.h"

LayerNoteWindow::LayerNoteWindow(wayland::Display& display, const std::string& className, const WindowRect& rect,
                                 std::function<void(NoteWindow&)> onDoubleClick, UserPlacedHandler onUserPlaced)
    : display_(display),
      surface_(display, "skyslate2-" + className, *this, [this](QImage& image) { Paint(image); }),
      rect_(rect),
      drag_(QGuiApplication::styleHints()->startDragDistance()),
      clicks_(uint32_t(QGuiApplication::styleHints()->mouseDoubleClickInterval()),
              QGuiApplication::styleHints()->startDragDistance()),
      onDoubleClick_(std::move(onDoubleClick)),
      onUserPlaced_(std::move(onUserPlaced)) {}

void LayerNoteWindow::SetLook(NoteLook look) {
    renderer_.SetLook(std::move(look));
    Draw();
}

// Several changes in a row give one render, on the next turn of the event loop; a hidden note renders
// when it is shown.
void LayerNoteWindow::Draw() {
    drawPending_ = true;
    if (!visible_ || renderQueued_) return;
    renderQueued_ = true;
    QMetaObject::invokeMethod(this, [this] {
        renderQueued_ = false;
        RenderNow();
    }, Qt::QueuedConnection);
}

void LayerNoteWindow::RenderNow() {
    if (!drawPending_ || destroyed_) return;
    drawPending_ = false;
    painted_ = renderer_.RenderPainted(rect_.width(), rect_.height());
    UpdateInput();
    surface_.Repaint();
}

// The mouse takes the note where its text is painted, and nowhere while it is locked.
void LayerNoteWindow::UpdateInput() {
    surface_.SetInput(locked_ ? std::vector<QRect>() : HitRects(painted_.image, painted_.origin));
}

// Empty while its stand-in shows it.
void LayerNoteWindow::Paint(QImage& image) const {
    image.fill(Qt::transparent);
    if (standIn_) return;
    QPainter painter(&image);
    painter.drawImage(painted_.origin, painted_.image);
}

bool LayerNoteWindow::Show(bool visible) {
    if (destroyed_) return false;
    if (!visible) {
        surface_.Unmap();
        visible_ = false;
        return true;
    }
    if (!surface_.Map(rect_, OnTop())) return false;
    visible_ = true;
    RenderNow();  // input region and picture before the compositor shows it
    return true;
}

bool LayerNoteWindow::SetTopMost(bool topMost) {
    if (destroyed_) return false;
    topMost_ = topMost;
    surface_.SetTop(OnTop());
    return true;
}

void LayerNoteWindow::SetLowered(bool lowered) {
    lowered_ = lowered;
    if (!destroyed_) surface_.SetTop(OnTop());
}

bool LayerNoteWindow::Place(const WindowRect& rect) {
    if (destroyed_) return false;
    const bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
    rect_ = rect;
    surface_.Place(rect);
    if (!drag_.Pressed()) surface_.FollowOutput();
    if (resized) {
        drawPending_ = true;
        if (visible_) RenderNow();  // the text wraps at the new width
    }
    return true;
}

std::optional<WindowRect> LayerNoteWindow::TextBounds() {
    if (drawPending_) RenderNow();
    if (painted_.image.isNull()) return std::nullopt;
    return OnScreen(painted_.Rect(), rect_);
}

void LayerNoteWindow::SetLocked(bool locked) {
    if (locked == locked_) return;
    locked_ = locked;
    UpdateInput();
}

void LayerNoteWindow::Destroy() {
    destroyed_ = true;
    visible_ = false;
    drag_.End();
    standIn_.reset();
    surface_.Unmap();
}

void LayerNoteWindow::OnPointerMotion(Point local) {
    pointer_ = local;
    if (drag_.Pressed()) {
        ApplyDragStep(drag_.Move(Point{pressPlace_.left + local.x, pressPlace_.top + local.y}));
        return;
    }
    display_.SetCursor(CursorAt(local.x, local.y, rect_.width(), rect_.height()));
}

// What the user did reaches the notes' owner from the event loop, never from within the reading of the
// compositor's events, which can happen inside any call of the owner's.
void LayerNoteWindow::Tell(std::function<void()> what) {
    QMetaObject::invokeMethod(this, std::move(what), Qt::QueuedConnection);
}

// A press is a click until the pointer travels the drag distance, so that a double-click reaches the note.
void LayerNoteWindow::OnLeftButton(bool pressed, uint32_t time) {
    const Point screen{rect_.left + pointer_.x, rect_.top + pointer_.y};
    if (!pressed) {
        EndDrag();
        return;
    }
    if (clicks_.Press(time, screen)) {
        drag_.End();
        Tell([this] {
            if (onDoubleClick_) onDoubleClick_(*this);
        });
        return;
    }
    pressPlace_ = rect_;
    dragPlace_ = rect_;
    drag_.Press(pointer_, screen, rect_);
}

void LayerNoteWindow::ApplyDragStep(const DragSession::Step& step) {
    if (step.kind == DragSession::Step::Kind::None || destroyed_) return;
    const bool resized = step.rect.width() != dragPlace_.width() || step.rect.height() != dragPlace_.height();
    dragPlace_ = step.rect;
    if (resized) painted_ = renderer_.RenderPainted(dragPlace_.width(), dragPlace_.height());
    if (standIn_) {
        standIn_->Place(dragPlace_);  // with a new picture when resized
        return;
    }
    standIn_ = std::make_unique<wayland::LayerSurface>(display_, "skyslate2-drag", *this, [this](QImage& image) {
        image.fill(Qt::transparent);
        QPainter(&image).drawImage(painted_.origin, painted_.image);
    });
    standIn_->Map(dragPlace_, true);
    surface_.Repaint();  // emptied
}

// The note goes where its stand-in is, which goes; the user's place is told.
void LayerNoteWindow::EndDrag() {
    const bool dragged = drag_.Dragging();
    drag_.End();
    if (!dragged || !standIn_) return;
    standIn_.reset();
    const bool resized = dragPlace_.width() != rect_.width() || dragPlace_.height() != rect_.height();
    Place(dragPlace_);
    if (!resized) surface_.Repaint();
    if (rect_ == pressPlace_) return;
    Tell([this, place = rect_] {
        if (onUserPlaced_) onUserPlaced_(*this, place);
    });
}

LayerNoteWindowFactory::LayerNoteWindowFactory(std::unique_ptr<wayland::Display> display) : display_(std::move(display)) {
    display_->WatchFromEventLoop();
    qApp->installEventFilter(this);
}

LayerNoteWindowFactory::~LayerNoteWindowFactory() {
    if (qApp) qApp->removeEventFilter(this);
}

std::unique_ptr<NoteWindow> LayerNoteWindowFactory::CreateNoteWindow(const std::string& className,
                                                                     const WindowRect& rect) {
    auto window = std::make_unique<LayerNoteWindow>(
        *display_, className, rect,
        [this](NoteWindow& note) {
            if (onDoubleClick) onDoubleClick(note);
        },
        [this](NoteWindow& note, const WindowRect& place) {
            if (onUserPlaced) onUserPlaced(note, place);
        });
    window->SetLowered(lowered_);
    windows_.erase(std::remove(windows_.begin(), windows_.end(), nullptr), windows_.end());
    windows_.push_back(window.get());
    return window;  // hidden until its note is shown
}

// A dialog of the program came or went: looked at once the event loop has shown or hidden it.
bool LayerNoteWindowFactory::eventFilter(QObject* watched, QEvent* event) {
    const bool change = event->type() == QEvent::Show || event->type() == QEvent::Hide;
    if (change && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow() && !checkQueued_) {
        checkQueued_ = true;
        QMetaObject::invokeMethod(this, [this] { LowerWhileDialogsShow(); }, Qt::QueuedConnection);
    }
    return false;
}

// The program's dialogs are ordinary windows, which the compositor keeps under the layer of topmost
// notes: while one shows, every note lies below the windows.
void LayerNoteWindowFactory::LowerWhileDialogsShow() {
    checkQueued_ = false;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool dialogShows = std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
        return w->isVisible() && w->windowType() != Qt::ToolTip;
    });
    if (dialogShows == lowered_) return;
    lowered_ = dialogShows;
    for (const QPointer<LayerNoteWindow>& window : windows_)
        if (window) window->SetLowered(lowered_);
}
