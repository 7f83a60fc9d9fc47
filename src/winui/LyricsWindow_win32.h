#pragma once

#include <functional>
#include <optional>

#include "notewindow/ClickCounter.h"
#include "notewindow/DragSession.h"
#include "notewindow/EdgeBands.h"

#include "winui/NoteRenderer_win32.h"
#include "frontend/FrontEnd.h"
#include "winui/Window_win32.h"

// A note on the desktop: a layered, topmost tool popup that shows only its rendered text. Pressing on
// the text moves it, pressing in an edge band resizes it, a double-click asks for its quick settings.
// Clicks on fully transparent pixels go to whatever lies beneath.
class CLyricsWindow : public WindowBase, public NoteWindow {
public:
    // Notes never take the focus: not when clicked, not when the active window goes away.
    static constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    // Created hidden: only shown notes ever appear. A popup without a caption shows no system menu;
    // WS_SYSMENU makes Wine treat the note as a managed window, whose drags survive its activation.
    static constexpr DWORD kStyle = WS_POPUP | WS_SYSMENU;

    // memDC: a memory device context to draw in, shared by all notes and outliving them.
    CLyricsWindow(HDC memDC, std::function<void(CLyricsWindow&)> onDoubleClick, UserPlacedHandler onUserPlaced);

    // Registers the class ("text_%d") and creates the window.
    bool Create(const std::wstring& className, int x, int y, int width, int height);

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
    // Renders the text at the client size into the layered window; a hidden note when it is shown.
    void Draw();


protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPress(LPARAM lParam);
    void BeginDrag(LPARAM lParam);
    void FollowDrag();
    void EndDrag();
    bool OnSetCursor();
    void Render();

    DragSession drag_;
    ClickCounter clicks_;  // counted from plain presses: the class asks for no double-click messages
    NoteRenderer renderer_;  // holds the text (the note's m_strText), once
    HDC m_hMemDC = nullptr;
    bool drawPending_ = false;
    std::function<void(CLyricsWindow&)> onDoubleClick_;
    UserPlacedHandler onUserPlaced_;  // the end of a drag
};

// Creates CLyricsWindow objects; a double-click on any of them reaches onDoubleClick, the end of a user's
// drag onUserPlaced.
class LyricsWindowFactory : public NoteWindowFactory {
public:
    LyricsWindowFactory();
    ~LyricsWindowFactory() override;
    LyricsWindowFactory(const LyricsWindowFactory&) = delete;
    LyricsWindowFactory& operator=(const LyricsWindowFactory&) = delete;
    std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, const WindowRect& rect) override;
    std::function<void(CLyricsWindow&)> onDoubleClick;
    UserPlacedHandler onUserPlaced;

private:
    HDC memDC_;  // every note draws here in turn: one for all of them
};
