#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "notewindow/Geometry.h"

inline constexpr int kFontRegular = 0;
inline constexpr int kFontBold = 1;

// What a note window shows: the text in a face and size, filled in a colour.
struct NoteLook {
    std::string text;             // LF line breaks
    uint32_t color = 0xFFFF0000;  // ARGB, opaque
    std::string face;
    float emSize = 0;             // pixels
    int style = kFontRegular;
};

// What the manager needs of a note window; each front end implements it (CLyricsWindow). Calls that
// can fail say so, and then nothing has changed.
class NoteWindow {
public:
    virtual ~NoteWindow() = default;
    // Stores what to show and draws it; a hidden window draws when it is shown.
    virtual void SetLook(NoteLook look) = 0;
    // Shows without taking the focus, or hides.
    virtual bool Show(bool visible) = 0;
    virtual bool SetTopMost(bool topMost) = 0;
    virtual bool Place(const WindowRect& rect) = 0;
    virtual std::optional<WindowRect> GetWindowRect() const = 0;
    // Where its text is painted on the screen (drawn now when a draw is pending); nothing when no pixel is.
    virtual std::optional<WindowRect> TextBounds() = 0;
    // A locked note lets every click through to what lies beneath.
    virtual void SetLocked(bool locked) = 0;
    // Closes the window; the object lives on.
    virtual void Destroy() = 0;
};

// What a note window tells when the user's drag or resize of it has ended: where it is now. Only the
// user's own moves are told, never where the window system put a window.
using UserPlacedHandler = std::function<void(NoteWindow& window, const WindowRect& rect)>;

// Creates note windows: hidden, topmost and borderless, each with a window class of its own.
class NoteWindowFactory {
public:
    virtual ~NoteWindowFactory() = default;
    // Nothing when the window system refused.
    virtual std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, const WindowRect& rect) = 0;
};
