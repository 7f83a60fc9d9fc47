#include "qt/GlyphOutlines_qt.h"

#include <QHash>
#include <QRawFont>

#include <tuple>

namespace {

struct GlyphOutline {
    QPainterPath path;
    QRectF bounds;
};

struct GlyphKey {
    QRawFont font;
    quint32 glyph;
    bool operator==(const GlyphKey& other) const {
        return std::tie(font, glyph) == std::tie(other.font, other.glyph);
    }
};

size_t qHash(const GlyphKey& key, size_t seed = 0) { return qHashMulti(seed, key.font, key.glyph); }

// At most kMaxGlyphs are kept: past that (a great many faces, sizes or Chinese characters) the cache
// starts again rather than grow without end.
class OutlineCache {
public:
    const GlyphOutline& Outline(const QRawFont& font, quint32 glyph) {
        const GlyphKey key{font, glyph};
        auto found = glyphs_.constFind(key);
        if (found != glyphs_.constEnd()) return *found;
        if (glyphs_.size() >= kMaxGlyphs) glyphs_.clear();
        const QPainterPath path = font.pathForGlyph(glyph);
        return *glyphs_.insert(key, {path, path.boundingRect()});
    }

private:
    static constexpr qsizetype kMaxGlyphs = 4000;
    QHash<GlyphKey, GlyphOutline> glyphs_;
};

OutlineCache& Outlines() {
    static OutlineCache cache;
    return cache;
}

// Calls use(outline, position) for each glyph of the run.
template <typename Use>
void ForEachGlyph(const QGlyphRun& run, Use use) {
    const QRawFont font = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i)
        use(Outlines().Outline(font, glyphs[i]), positions[i]);
}

}  // namespace

void AddGlyphOutlines(QPainterPath& path, const QGlyphRun& run) {
    ForEachGlyph(run, [&](const GlyphOutline& glyph, QPointF at) { path.addPath(glyph.path.translated(at)); });
}

QRectF GlyphOutlineBounds(const QGlyphRun& run) {
    QRectF bounds;
    ForEachGlyph(run, [&](const GlyphOutline& glyph, QPointF at) {
        const QRectF placed = glyph.bounds.translated(at);
        if (!placed.isEmpty()) bounds = bounds.isNull() ? placed : bounds.united(placed);
    });
    return bounds;
}
