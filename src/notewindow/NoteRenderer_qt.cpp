#include "NoteRenderer_qt.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace {

// Faces that Chinese Windows systems have and Linux systems mostly do not.
bool IsChineseFaceName(const QString& face) {
    static const QStringList kWindowsChineseFaces = {"SimHei", "SimSun", "NSimSun", "Microsoft YaHei", "KaiTi",
                                                     "FangSong", "DengXian"};
    for (QChar c : face)
        if (c.unicode() >= 0x2E80) return true;
    return kWindowsChineseFaces.contains(face, Qt::CaseInsensitive);
}

QString ChineseSansFamily() {
    static const QStringList kPreferred = {"Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei",
                                           "WenQuanYi Zen Hei", "Droid Sans Fallback", "AR PL UMing CN"};
    const QStringList families = QFontDatabase::families();
    for (const QString& family : kPreferred)
        if (families.contains(family, Qt::CaseInsensitive)) return family;
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return chinese.isEmpty() ? QString() : chinese.first();
}

QStringList Paragraphs(const QString& text) {
    QString normalized = text;
    normalized.replace("\r\n", "\n");
    return normalized.split('\n');
}

// Adds one paragraph to the path, wrapped at the width, starting at y; returns the y below it.
qreal AddParagraph(QPainterPath& path, const QString& paragraph, const QFont& font, int width, qreal y) {
    if (paragraph.isEmpty()) return y + QFontMetricsF(font).lineSpacing();
    QTextLayout layout(paragraph, font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const QString text = paragraph.mid(line.textStart(), line.textLength());
        path.addText(QPointF(line.x(), line.y() + line.ascent()), font, text);
    }
    return y;
}

}  // namespace

QString ResolveFontFamily(const QString& face) {
    if (!face.isEmpty() && QFontDatabase::families().contains(face, Qt::CaseInsensitive)) return face;
    if (IsChineseFaceName(face)) {
        const QString chinese = ChineseSansFamily();
        if (!chinese.isEmpty()) return chinese;
    }
    return QApplication::font().family();
}

NoteRenderer::NoteRenderer() { SetTextFont("黑体", 1, 50.0f); }

void NoteRenderer::SetTextFont(const QString& face, int style, float emSize) {
    QFont font(ResolveFontFamily(face));
    font.setPixelSize(std::max(1, int(emSize)));
    font.setBold(style == 1);
    font_ = font;
}

QImage NoteRenderer::Render(int width, int height) const {
    QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (text_.isEmpty() || image.isNull()) return image;

    QPainterPath path;
    qreal y = 0;
    for (const QString& paragraph : Paragraphs(text_)) {
        if (y >= height) break;
        y = AddParagraph(path, paragraph, font_, width, y);
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path.translated(kShadowOffset, kShadowOffset), QColor::fromRgba(kShadowColor));
    painter.strokePath(path, QPen(Qt::black, 1.0));
    painter.fillPath(path, QColor::fromRgba(fill_));
    return image;
}
