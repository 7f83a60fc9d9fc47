#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

#include "notewindow/ClickCounter.h"
#include "notewindow/DragSession.h"
#include "notewindow/EdgeBands.h"
#include "qt/NoteRenderer_qt.h"
#include "qt/NoteWindowFactory_qt.h"
#include "frontend/FrontEnd.h"
#include "qt/x11/NoteSurface_x11.h"

// A note on the desktop: an X window that shows only its rendered text, with per-pixel alpha under a
// compositing manager and the shape of its text without one. Clicks go through wherever nothing is
// painted. Pressing on the text and dragging moves it, in an edge band resizes it (the window manager's
// own move or resize once the drag begins, where there is one), a double-click asks for its quick
// settings. Everything is in physical pixels, also on a scaled desktop: the text is drawn at the screen's
// own resolution.
class CLyricsWindow : public QObject, public NoteWindow {
public:
    CLyricsWindow(x11::NoteSurfaces& surfaces, const std::string& className, const WindowRect& rect,
                  std::function<void(CLyricsWindow&)> onDoubleClick, UserPlacedHandler onUserPlaced);
    ~CLyricsWindow() override;

    void SetLook(NoteLook look) override;
    bool Show(bool visible) override;
    bool SetTopMost(bool topMost) override;
    bool Place(const WindowRect& rect) override;
    std::optional<WindowRect> GetWindowRect() const override;
    std::optional<WindowRect> TextBounds() override;
    void SetLocked(bool locked) override;
    void Destroy() override;

    // The text as last given (the note's m_strText), LF line breaks.
    std::string Text() const;
    // Draws the text at the current size, on the next turn of the event loop; a hidden note when shown.
    void Draw();

    // The whole note as on screen, rendered now if a draw is pending; and how many renders there were.
    QImage Image();
    int DrawCount() const { return drawCount_; }
    uint32_t WindowId() const { return surface_->Id(); }

private:
    void OnEvent(const xcb_generic_event_t& event);
    void OnPress(const x11::SurfaceEvent& press);
    void OnMotion(const x11::SurfaceEvent& motion);
    void OnRelease(const x11::SurfaceEvent& release);
    void ApplyDragStep(const DragSession::Step& step);
    void WatchWindowManagerDrag();
    void CheckWindowManagerDrag();
    void TellUserPlace(std::optional<WindowRect> place);
    void RenderWhenShown();
    void RenderNow();
    void UpdateShapes();
    void Paint(const QRect& area);

    x11::NoteSurfaces& surfaces_;
    std::unique_ptr<x11::NoteSurface> surface_;
    NoteRenderer renderer_;              // holds the text (the note's m_strText), once
    NoteRenderer::PaintedArea painted_;  // only the painted part is kept: the rest is transparent
    std::vector<QRect> inkBoxes_;        // the boxes of its lines and words, which hold every painted pixel
    QSize renderedSize_;
    int drawCount_ = 0;
    bool drawPending_ = false;
    bool locked_ = false;
    DragSession drag_;
    ClickCounter clicks_;
    std::function<void(CLyricsWindow&)> onDoubleClick_;
    UserPlacedHandler onUserPlaced_;
    // A drag the window manager took over: it has ended once the button is up and the window manager has
    // stopped moving the window, which it tells nobody.
    enum class HandedOver { No, ButtonHeld, Settling };
    HandedOver handedOver_ = HandedOver::No;
    int quietChecks_ = 0;
    QTimer handedOverCheck_;
    WindowRect pressPlace_;
};

// Creates CLyricsWindow objects; a double-click on any of them reaches onDoubleClick, the end of a user's
// drag onUserPlaced.
class LyricsWindowFactory : public QtNoteWindowFactory {
public:
    std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, const WindowRect& rect) override;

private:
    x11::NoteSurfaces surfaces_;
};
