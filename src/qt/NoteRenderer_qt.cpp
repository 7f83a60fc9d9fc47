#include "qt/NoteRenderer_qt.h"

#include <map>

#include "notewindow/NoteStyle.h"
#include "notewindow/FaceFallback.h"
#include "notewindow/VisibleText.h"
#include "qt/GlyphOutlines_qt.h"

#include <QApplication>
#include <QHash>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace {

// Lays one paragraph out, wrapped at the width, starting at y, down to the bottom at most; adds its lines
// and returns the y below.
qreal LayOutParagraph(std::vector<NoteRenderer::Line>& lines, const QString& paragraph, const QFont& font, int width,
                      int height, qreal y) {
    if (paragraph.isEmpty()) return y + QFontMetricsF(font).lineSpacing();
    QTextLayout layout(paragraph, font);
    layout.beginLayout();
    // No line is begun below the bottom: a line begun and left without a width would hold all the rest.
    while (y < height) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        lines.push_back({line.glyphRuns()});
    }
    return y;
}

}  // namespace

QString ResolveFontFamily(const std::string& face) {
    // Asking the font database is slow and its answer does not change while the program runs.
    static std::map<std::string, QString> resolved;
    const auto known = resolved.find(face);
    if (known != resolved.end()) return known->second;
    const QStringList installed = QFontDatabase::families();
    QString family;
    for (const std::string& candidate : FaceCandidates(face, QApplication::font().family().toStdString())) {
        const QString name = QString::fromStdString(candidate);
        if (installed.contains(name, Qt::CaseInsensitive)) {
            family = name;
            break;
        }
    }
    if (family.isEmpty()) {
        // Fontconfig's own choice for Chinese text, or else whatever the interface draws with.
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        family = chinese.isEmpty() ? QApplication::font().family() : chinese.first();
    }
    resolved.emplace(face, family);
    return family;
}

NoteRenderer::NoteRenderer() {
    SetTextFont(style::kDefaultFace, style::kInitialStyle, style::kInitialEmSize);
}

void NoteRenderer::SetLook(NoteLook look) {
    SetText(std::move(look.text));
    SetFillColor(look.color);
    SetTextFont(look.face, look.style, look.emSize);
}

void NoteRenderer::SetText(std::string utf8) {
    if (utf8 == text_) return;
    text_ = std::move(utf8);
    layoutValid_ = false;
}

void NoteRenderer::SetTextFont(const std::string& face, int style, float emSize) {
    QFont font(ResolveFontFamily(face));
    font.setPixelSize(std::max(1, int(emSize)));
    font.setBold(style == 1);
    font.setHintingPreference(QFont::PreferNoHinting);
    if (font == font_) return;
    font_ = font;
    layoutValid_ = false;
}

void NoteRenderer::LayOut(int width, int height) const {
    if (layoutValid_ && layoutSize_ == QSize(width, height)) return;
    lines_.clear();
    qreal y = 0;
    for (std::string_view paragraph : VisibleParagraphs(text_, width, height, float(font_.pixelSize()))) {
        if (y >= height) break;
        y = LayOutParagraph(lines_, QString::fromUtf8(paragraph.data(), qsizetype(paragraph.size())), font_, width,
                            height, y);
    }
    outlineBounds_ = QRectF();
    for (const Line& line : lines_)
        for (const QGlyphRun& run : line.runs) {
            const QRectF bounds = GlyphOutlineBounds(run);
            if (!bounds.isNull()) outlineBounds_ = outlineBounds_.isNull() ? bounds : outlineBounds_.united(bounds);
        }
    layoutSize_ = QSize(width, height);
    layoutValid_ = true;
}

// Shadow and fill are drawn as glyphs (from the glyph cache, unhinted so that they match the outlines);
// only the outline is stroked along the glyph paths.
NoteRenderer::PaintedArea NoteRenderer::RenderPainted(int width, int height) const {
    if (text_.empty() || width <= 0 || height <= 0) return {};
    LayOut(width, height);
    // The outline reaches half a pixel out, the shadow two pixels further; a margin covers both and
    // the antialiased edges.
    const QRect bounds =
        outlineBounds_.toAlignedRect().adjusted(-2, -2, style::kShadowOffset + 2, style::kShadowOffset + 2) &
        QRect(0, 0, width, height);
    if (bounds.isEmpty()) return {};

    PaintedArea area{QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied), bounds.topLeft()};
    area.image.fill(Qt::transparent);
    QPainter painter(&area.image);
    painter.translate(-bounds.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor::fromRgba(style::kShadowColor));
    const QPointF shadowOffset(style::kShadowOffset, style::kShadowOffset);
    for (const Line& line : lines_)
        for (const QGlyphRun& run : line.runs) painter.drawGlyphRun(shadowOffset, run);
    QPainterPath outline;
    for (const Line& line : lines_)
        for (const QGlyphRun& run : line.runs) AddGlyphOutlines(outline, run);
    painter.strokePath(outline, QPen(QColor::fromRgba(style::kOutlineColor), style::kOutlineWidth));
    painter.setPen(QColor::fromRgba(fill_));
    for (const Line& line : lines_)
        for (const QGlyphRun& run : line.runs) painter.drawGlyphRun(QPointF(), run);
    return area;
}

QImage NoteRenderer::Render(int width, int height) const {
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const PaintedArea area = RenderPainted(width, height);
    if (!area.image.isNull()) {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(area.origin, area.image);
    }
    return image;
}
