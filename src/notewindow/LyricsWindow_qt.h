#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>

#include "notewindow/DragSession.h"
#include "notewindow/EdgeBands.h"
#include "notewindow/NoteRenderer_qt.h"
#include "notewindow/NoteWindow.h"

// A note on the desktop: a frameless tool window that shows only its rendered text, with per-pixel
// alpha under a compositing manager and a window shape without one. Clicks on fully transparent
// pixels go to whatever lies beneath. Pressing on the text and dragging moves it, in an edge band
// resizes it (the window manager's own move or resize once the drag begins, where there is one), a
// double-click asks for its quick settings. Places, sizes, the text and its shapes are in physical
// pixels, also on a scaled desktop.
class CLyricsWindow : public QWidget, public NoteWindow {
public:
    CLyricsWindow(const QString& className, std::function<void(CLyricsWindow&)> onDoubleClick);

    void SetLook(NoteLook look) override;
    bool Show(bool visible) override;
    bool SetTopMost(bool topMost) override;
    bool Place(const WindowRect& rect) override;
    std::optional<WindowRect> GetWindowRect() const override;
    void SetLocked(bool locked) override;
    void Destroy() override;

    // The text as last given (the note's m_strText), CR LF line breaks.
    std::string Text() const;
    // Draws the text at the current size, on the next turn of the event loop; a hidden note when shown.
    void Draw();

    // The whole note as on screen in physical pixels, rendered now if a draw is pending; and how many
    // renders there were.
    QImage Image();
    int DrawCount() const { return drawCount_; }
    bool m_bSettingOpen = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RenderNow();
    void RenderWhenShown();
    void UpdateShapes();
    void UpdateCursor(Point local);
    qreal Ratio() const;
    QSize PhysicalSize() const;
    Point PhysicalLocal(const QPointF& logical) const;
    Point PhysicalScreen(const QPointF& logicalGlobal) const;
    void ApplyDragStep(const DragSession::Step& step);

    NoteRenderer renderer_;  // holds the text (the note's m_strText), once
    NoteRenderer::PaintedArea painted_;  // only the painted part is kept: the rest is transparent
    QSize renderedSize_;                 // physical
    // Where the window was put, exactly, and the scaled rectangle Qt made of it: a window still there
    // reports the exact place, so that stored places survive a scaled desktop unchanged.
    WindowRect placedPhysical_;
    QRect placedLogical_;
    int drawCount_ = 0;
    bool destroyed_ = false;
    bool drawPending_ = false;
    bool topMost_ = true;
    bool locked_ = false;
    DragSession drag_;
    std::function<void(CLyricsWindow&)> onDoubleClick_;
};

// Creates CLyricsWindow objects; a double-click on any of them reaches onDoubleClick.
class LyricsWindowFactory : public NoteWindowFactory {
public:
    std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, const WindowRect& rect) override;
    std::function<void(CLyricsWindow&)> onDoubleClick;
};
