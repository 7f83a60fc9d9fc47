#include "winui/NoteRenderer_win32.h"

#include "notewindow/FaceFallback.h"
#include "notewindow/VisibleText.h"
#include "store/Wide_win32.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <map>

NoteRenderer::NoteRenderer()
    : outlinePen_(std::make_unique<Gdiplus::Pen>(Gdiplus::Color(style::kOutlineColor), style::kOutlineWidth)),
      shadowBrush_(std::make_unique<Gdiplus::SolidBrush>(Gdiplus::Color(style::kShadowColor))),
      family_(std::make_unique<Gdiplus::FontFamily>()),
      format_(std::make_unique<Gdiplus::StringFormat>(0, LANG_NEUTRAL)) {
    format_->SetAlignment(Gdiplus::StringAlignmentNear);
    format_->SetLineAlignment(Gdiplus::StringAlignmentNear);
    SetTextFont(style::kDefaultFace, style::kInitialStyle, style::kInitialEmSize);
}

NoteRenderer::~NoteRenderer() = default;

void NoteRenderer::SetText(const std::wstring& text) { text_ = Narrow(text); }

void NoteRenderer::SetLook(NoteLook look) {
    text_ = std::move(look.text);
    fill_ = look.color;
    SetTextFont(look.face, look.style, look.emSize);
}

namespace {

std::unique_ptr<Gdiplus::FontFamily> InstalledFamily(const std::wstring& face) {
    if (face.empty()) return nullptr;
    auto family = std::make_unique<Gdiplus::FontFamily>(face.c_str());
    return family->IsAvailable() ? std::move(family) : nullptr;
}

std::unique_ptr<Gdiplus::FontFamily> FirstInstalledFamily() {
    Gdiplus::InstalledFontCollection fonts;
    Gdiplus::FontFamily family;
    INT found = 0;
    if (fonts.GetFamilies(1, &family, &found) != Gdiplus::Ok || found == 0) return nullptr;
    return std::unique_ptr<Gdiplus::FontFamily>(family.Clone());
}

std::wstring StockGuiFace() {
    LOGFONTW font = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font.lfFaceName;
}

std::unique_ptr<Gdiplus::FontFamily> ResolveFamily(const std::string& face) {
    std::unique_ptr<Gdiplus::FontFamily> family;
    for (const std::string& candidate : FaceCandidates(face, Narrow(StockGuiFace())))
        if (!family) family = InstalledFamily(Widen(candidate));
    if (!family) family = FirstInstalledFamily();
    if (!family) family = std::make_unique<Gdiplus::FontFamily>();  // draws nothing, but safely
    return family;
}

}  // namespace

// Looking a face up among the installed fonts and its fallbacks is slow, and its answer does not change
// while the program runs: every face is resolved once. Only names are kept, so that no GDI+ object
// outlives GDI+ itself.
std::wstring DrawnFaceName(const std::string& face) {
    static std::map<std::string, std::wstring> resolvedNames;
    const auto known = resolvedNames.find(face);
    if (known != resolvedNames.end()) return known->second;
    wchar_t name[LF_FACESIZE] = {};
    ResolveFamily(face)->GetFamilyName(name);
    return resolvedNames.emplace(face, name).first->second;
}

void NoteRenderer::SetTextFont(const std::string& face, int style, float emSize) {
    family_ = std::make_unique<Gdiplus::FontFamily>(DrawnFaceName(face).c_str());
    fontStyle_ = style;
    fontSize_ = emSize;
}

std::wstring NoteRenderer::FamilyName() const {
    wchar_t name[LF_FACESIZE] = {};
    family_->GetFamilyName(name);
    return name;
}

HBITMAP NoteRenderer::CreateSurface(HDC memDC, int width, int height, void** bits) const {
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // A fresh section is all zero: every pixel fully transparent.
    return CreateDIBSection(memDC, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

void NoteRenderer::DrawOnto(HDC memDC, int width, int height) const {
    Gdiplus::Graphics graphics(memDC);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    DrawTextPath(graphics, width, height);
}

// Each paragraph is added to the paths on its own, below the lines the earlier ones filled: some GDI+
// implementations lose text after the first line break when given several paragraphs at once.
void NoteRenderer::DrawTextPath(Gdiplus::Graphics& graphics, int width, int height) const {
    if (text_.empty()) return;
    Gdiplus::GraphicsPath glyphs(Gdiplus::FillModeAlternate);
    const Gdiplus::Font font(family_.get(), fontSize_, fontStyle_, Gdiplus::UnitPixel);
    const float lineSpacing = fontSize_ * float(family_->GetLineSpacing(fontStyle_)) /
                              float(std::max<UINT16>(1, family_->GetEmHeight(fontStyle_)));
    const float offset = float(style::kShadowOffset);
    float y = 0;
    const std::vector<std::string_view> paragraphs = VisibleParagraphs(text_, width, height, fontSize_);
    for (size_t i = 0; i < paragraphs.size() && y < float(height); ++i) {
        const std::wstring paragraph = Widen(std::string(paragraphs[i]));
        int lines = 1;
        if (!paragraph.empty()) {
            const INT length = INT(paragraph.size());
            const Gdiplus::RectF textRect{0, y, float(width), float(height) - y};
            glyphs.AddString(paragraph.c_str(), length, family_.get(), fontStyle_, fontSize_, textRect, format_.get());
            // How far the next paragraph starts; the last has none.
            if (i + 1 < paragraphs.size()) lines = LinesFilled(graphics, font, paragraph, width);
        }
        y += float(lines) * lineSpacing;
    }
    // The shadow is the same glyphs moved: laying the text out a second time would only cost.
    const std::unique_ptr<Gdiplus::GraphicsPath> shadow(glyphs.Clone());
    Gdiplus::Matrix moved;
    moved.Translate(offset, offset);
    if (shadow) {
        shadow->Transform(&moved);
        graphics.FillPath(shadowBrush_.get(), shadow.get());
    }
    graphics.DrawPath(outlinePen_.get(), &glyphs);
    Gdiplus::SolidBrush fill{Gdiplus::Color(fill_)};
    graphics.FillPath(&fill, &glyphs);
}

int NoteRenderer::LinesFilled(Gdiplus::Graphics& graphics, const Gdiplus::Font& font, const std::wstring& paragraph,
                              int width) const {
    const Gdiplus::RectF layout{0, 0, float(width), 1e6f};
    Gdiplus::RectF bounds;
    INT characters = 0;
    INT lines = 0;
    graphics.MeasureString(paragraph.c_str(), INT(paragraph.size()), &font, layout, format_.get(), &bounds,
                           &characters, &lines);
    return std::max(1, int(lines));
}

std::vector<uint32_t> NoteRenderer::RenderPixels(int width, int height) {
    std::vector<uint32_t> pixels(size_t(width > 0 ? width : 0) * size_t(height > 0 ? height : 0));
    HDC screen = GetDC(nullptr);
    HDC memDC = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    RenderInto(memDC, width, height, [&](HDC, void* bits) {
        GdiFlush();
        std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    });
    DeleteDC(memDC);
    return pixels;
}

std::optional<WindowRect> NoteRenderer::PaintedBounds(int width, int height) {
    const std::vector<uint32_t> pixels = RenderPixels(width, height);
    WindowRect bounds{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if ((pixels[size_t(y) * size_t(width) + size_t(x)] >> 24) == 0) continue;
            bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x + 1),
                      std::max(bounds.bottom, y + 1)};
        }
    if (bounds.right <= bounds.left) return std::nullopt;
    return bounds;
}
