#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frontend/FrontEnd.h"
#include "notewindow/ClickCounter.h"
#include "notewindow/DragSession.h"
#include "qt/NoteRenderer_qt.h"
#include "qt/NoteWindowFactory_qt.h"
#include "qt/wayland/Display_wl.h"
#include "qt/wayland/LayerSurface_wl.h"

// A note on a Wayland desktop with the layer shell: a layer surface that shows only its rendered text and
// takes the mouse only where the text is painted. Pressing on the text and dragging moves it, in an edge
// band resizes it, a double-click asks for its quick settings; the compositor is told only where the
// program puts it, so its place is always the program's own.
//
// While the button is held, compositors measure the pointer differently once the surface under it has
// moved: against where it was at the press (sway), or where it is now (KWin). So the pressed surface
// stays where it is, emptied, and takes the pointer the same way on both, while a stand-in that takes no
// input shows the note on its way; on release the note goes where the stand-in is.
class LayerNoteWindow : public QObject, public NoteWindow, public wayland::PointerTarget {
public:
    LayerNoteWindow(wayland::Display& display, const std::string& className, const WindowRect& rect,
                    std::function<void(NoteWindow&)> onDoubleClick, UserPlacedHandler onUserPlaced);

    void SetLook(NoteLook look) override;
    bool Show(bool visible) override;
    bool SetTopMost(bool topMost) override;
    bool Place(const WindowRect& rect) override;
    std::optional<WindowRect> GetWindowRect() const override { return rect_; }
    std::optional<WindowRect> TextBounds() override;
    void SetLocked(bool locked) override;
    void Destroy() override;

    // Below the windows while a dialog of the program is open, so that the dialog is never under a note.
    void SetLowered(bool lowered);

    void OnPointerMotion(Point local) override;
    void OnLeftButton(bool pressed, uint32_t time) override;

private:
    void Draw();
    void RenderNow();
    void UpdateInput();
    void Paint(QImage& image) const;
    void ApplyDragStep(const DragSession::Step& step);
    void EndDrag();
    void Tell(std::function<void()> what);
    bool OnTop() const { return topMost_ && !lowered_; }

    wayland::Display& display_;
    wayland::LayerSurface surface_;
    WindowRect rect_;
    NoteRenderer renderer_;
    NoteRenderer::PaintedArea painted_;
    bool drawPending_ = true;
    bool renderQueued_ = false;
    bool visible_ = false;
    bool destroyed_ = false;
    bool topMost_ = true;
    bool lowered_ = false;
    bool locked_ = false;
    Point pointer_;  // where the pointer was last on the note, in its pixels
    DragSession drag_;
    ClickCounter clicks_;
    WindowRect pressPlace_;
    std::unique_ptr<wayland::LayerSurface> standIn_;  // while a drag shows
    WindowRect dragPlace_;
    std::function<void(NoteWindow&)> onDoubleClick_;
    UserPlacedHandler onUserPlaced_;
};

// Creates the layer-shell note windows on the program's connection to the compositor, and keeps them
// below the program's dialogs while one is open.
class LayerNoteWindowFactory : public QObject, public QtNoteWindowFactory {
public:
    explicit LayerNoteWindowFactory(std::unique_ptr<wayland::Display> display);
    ~LayerNoteWindowFactory() override;
    std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, const WindowRect& rect) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LowerWhileDialogsShow();

    std::unique_ptr<wayland::Display> display_;
    std::vector<QPointer<LayerNoteWindow>> windows_;
    bool lowered_ = false;
    bool checkQueued_ = false;
};
