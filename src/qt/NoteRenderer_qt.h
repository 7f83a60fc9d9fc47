#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "notewindow/NoteStyle.h"
#include "frontend/FrontEnd.h"

// Draws a note's text into a premultiplied ARGB image: a hard translucent shadow 2
// pixels right and down, a thin black outline and the fill. Lines break at line breaks and wrap at the
// image width; every pixel the text and shadow do not cover stays fully transparent.
class NoteRenderer {
public:
    NoteRenderer();

    // Text, colour and font at once.
    void SetLook(NoteLook look);
    // Text with LF (or CR LF) line breaks, in UTF-8; only what can show is ever laid out.
    void SetText(std::string utf8);
    void SetText(const QString& text) { SetText(text.toStdString()); }
    const std::string& Text() const { return text_; }
    void SetFillColor(uint32_t argb) { fill_ = argb; }
    // Uses the face when installed; otherwise an installed Chinese sans-serif face for Chinese face
    // names, or the system's UI font for any other.
    void SetTextFont(const std::string& face, int style, float emSize);  // face in UTF-8
    QString FamilyName() const { return font_.family(); }

    // The part of a note of the given size that holds any painted pixel, and where it lies in the
    // note; everything outside it is transparent. Null when nothing is painted.
    struct PaintedArea {
        QImage image;
        QPoint origin;
        QRect Rect() const { return QRect(origin, image.size()); }
    };
    PaintedArea RenderPainted(int width, int height) const;
    // The whole note at that size.
    QImage Render(int width, int height) const;

    // One laid-out line: its glyphs, each where it lies in the note.
    struct Line {
        QList<QGlyphRun> runs;
    };

private:
    void LayOut(int width, int height) const;

    std::string text_;
    uint32_t fill_ = style::kDefaultFill;
    QFont font_;
    // The layout depends only on text, font and size: done again only when one of them changes.
    mutable std::vector<Line> lines_;
    mutable QRectF outlineBounds_;
    mutable QSize layoutSize_;
    mutable bool layoutValid_ = false;
};

// The installed family that draws a face name: the face itself, or its fallback.
QString ResolveFontFamily(const std::string& face);
