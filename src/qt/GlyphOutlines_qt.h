#pragma once

#include <QGlyphRun>
#include <QPainterPath>
#include <QRectF>

// The outlines of the glyphs of a run, each where the run puts it. Each glyph's outline is read from its
// font once and kept: notes draw the same letters over and over, and reading outlines from the font
// was most of laying a note out.
void AddGlyphOutlines(QPainterPath& path, const QGlyphRun& run);

// The bounds of the same outlines.
QRectF GlyphOutlineBounds(const QGlyphRun& run);
