#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A note window's place on the screen, in physical pixels.
struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

inline constexpr int kFontRegular = 0;
inline constexpr int kFontBold = 1;

// What the manager needs of a note window; each front end implements it (CLyricsWindow).
class NoteWindow {
public:
    virtual ~NoteWindow() = default;
    // Stores the text (CR LF line breaks) and redraws.
    virtual void SetText(const std::string& text) = 0;
    // The text as last given to SetText.
    virtual std::string Text() const = 0;
    virtual void SetFillColor(uint32_t argb) = 0;
    // Builds the font the drawing uses; does not redraw. emSize is in pixels.
    virtual void SetTextFont(const std::string& face, int style, float emSize) = 0;
    // Renders the text at the current size and shows the result.
    virtual void Draw() = 0;
    virtual void Show(bool visible) = 0;
    virtual void SetTopMost(bool topMost) = 0;
    virtual WindowRect GetWindowRect() const = 0;
    // Closes the window; the object lives on.
    virtual void Destroy() = 0;
};

// Creates note windows: a visible, topmost, borderless window with a window class of its own.
class NoteWindowFactory {
public:
    virtual ~NoteWindowFactory() = default;
    virtual std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, int32_t x, int32_t y,
                                                         int32_t width, int32_t height) = 0;
};
