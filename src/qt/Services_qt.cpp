#include "qt/Services_qt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QMessageBox>

#include <cstdio>

#include "notewindow/FaceFallback.h"
#include "notewindow/NoteStyle.h"
#include "qt/NoteRenderer_qt.h"
#include "qt/Texts_qt.h"
#include "qt/ScreenPixels_qt.h"
#include "store/IniValues.h"
#include "store/NoteText.h"

std::optional<uint32_t> QtPickers::PickColor(uint32_t initial) {
    QColorDialog dialog(QColor::fromRgb(initial), QApplication::activeWindow());
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (dialog.exec() != QDialog::Accepted || !dialog.selectedColor().isValid()) return std::nullopt;
    const QColor color = dialog.selectedColor();
    return OpaqueColor(color.red(), color.green(), color.blue());
}

// Opens on the face that draws the note (a face not installed here would leave the dialog on Qt's default
// face) at the note's size. OK without a change keeps the note's own face name and size.
std::optional<FontChoice> QtPickers::PickFont(const FontChoice& initial) {
    const std::string noteFace = initial.face.empty() ? style::kDefaultFace : initial.face;
    const QString drawn = ResolveFontFamily(noteFace);
    QFont font(drawn);
    if (initial.pointSizeTenths > 0) font.setPointSizeF(initial.pointSizeTenths / 10.0);
    QFontDialog dialog(font, QApplication::activeWindow());
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    const int32_t tenths = int32_t(chosen.pointSizeF() * 10 + 0.5);
    return FontChoice{FaceAfterPicker(chosen.family().toStdString(), drawn.toStdString(), noteFace),
                      tenths == 0 ? initial.pointSizeTenths : tenths, initial.color};
}

void QtMessages::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, "Skyslate2", Ui(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void QtMessages::ShowHelp(const std::string& text) {
    QMessageBox box(QMessageBox::Information, Ui(text::kHelpTitle), QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void QtApp::Quit() { QApplication::exit(0); }

std::vector<Monitor> QtScreens::Monitors() const { return pixels::Monitors(); }

void StderrLog::Failure(const std::string& line) { std::fprintf(stderr, "skyslate2: %s\n", line.c_str()); }

QtWakeup::QtWakeup(std::function<void()> onTime) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(onTime));
}

void QtWakeup::LookAgainAfter(int milliseconds) { timer_.start(std::max(1, milliseconds)); }
