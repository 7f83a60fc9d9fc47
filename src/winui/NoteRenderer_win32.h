#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notewindow/NoteStyle.h"
#include "frontend/FrontEnd.h"

namespace Gdiplus {
class Pen;
class SolidBrush;
class FontFamily;
class StringFormat;
class Graphics;
class Font;
}  // namespace Gdiplus

// Draws a note's text as GDI+ paths into a 32-bit premultiplied bitmap: a hard translucent shadow, a thin
// black outline and the fill. Every pixel the text and shadow do not cover stays fully transparent.
// Holds its pen, brush, font family and string format between draws; GDI+ must run while it lives.
// The installed face that draws a note of the face: the face itself, or the fallback that stands in for it.
std::wstring DrawnFaceName(const std::string& face);

class NoteRenderer {
public:
    NoteRenderer();
    ~NoteRenderer();
    NoteRenderer(const NoteRenderer&) = delete;
    NoteRenderer& operator=(const NoteRenderer&) = delete;

    // Text, colour and font at once.
    void SetLook(NoteLook look);
    // Text with LF (or CR LF) line breaks, in UTF-8; only what can show is ever laid out.
    void SetText(std::string utf8) { text_ = std::move(utf8); }
    void SetText(const std::wstring& text);
    const std::string& Text() const { return text_; }
    void SetFillColor(uint32_t argb) { fill_ = argb; }
    uint32_t FillColor() const { return fill_; }
    // Uses the face when installed, else the stock GUI font's face, else an installed Chinese face.
    void SetTextFont(const std::string& face, int style, float emSize);  // face in UTF-8
    std::wstring FamilyName() const;

    // Renders into a fresh top-down DIB section selected into memDC, then calls push with it; the
    // bitmap is deleted afterwards.
    template <typename Push>
    void RenderInto(HDC memDC, int width, int height, Push push);

    // The pixels (premultiplied 0xAARRGGBB, row by row from the top) for a bitmap of the given size.
    std::vector<uint32_t> RenderPixels(int width, int height);
    // The part of a bitmap of that size that holds any painted pixel; nothing when none is.
    std::optional<WindowRect> PaintedBounds(int width, int height);

private:
    HBITMAP CreateSurface(HDC memDC, int width, int height, void** bits) const;
    void DrawTextPath(Gdiplus::Graphics& graphics, int width, int height) const;
    void DrawOnto(HDC memDC, int width, int height) const;
    int LinesFilled(Gdiplus::Graphics& graphics, const Gdiplus::Font& font, const std::wstring& paragraph,
                    int width) const;

    std::string text_;
    uint32_t fill_ = style::kDefaultFill;
    std::unique_ptr<Gdiplus::Pen> outlinePen_;
    std::unique_ptr<Gdiplus::SolidBrush> shadowBrush_;
    std::unique_ptr<Gdiplus::FontFamily> family_;
    std::unique_ptr<Gdiplus::StringFormat> format_;
    int fontStyle_ = style::kInitialStyle;
    float fontSize_ = style::kInitialEmSize;
};

template <typename Push>
void NoteRenderer::RenderInto(HDC memDC, int width, int height, Push push) {
    void* bits = nullptr;
    HBITMAP bitmap = CreateSurface(memDC, width, height, &bits);
    if (!bitmap) return;
    HGDIOBJ previous = SelectObject(memDC, bitmap);
    DrawOnto(memDC, width, height);
    push(memDC, bits);
    SelectObject(memDC, previous);
    DeleteObject(bitmap);
}
