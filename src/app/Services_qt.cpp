#include "app/Services_qt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QMessageBox>

#include <cstdio>

#include "notewindow/ScreenPixels_qt.h"
#include "store/IniValues.h"
#include "store/NoteText.h"

std::optional<uint32_t> QtPickers::PickColor(uint32_t initial) {
    const QColor color = QColorDialog::getColor(QColor::fromRgb(initial), QApplication::activeWindow());
    if (!color.isValid()) return std::nullopt;
    return OpaqueColor(color.red(), color.green(), color.blue());
}

std::optional<FontChoice> QtPickers::PickFont(const FontChoice& initial) {
    QFont font(QString::fromStdString(initial.face));
    if (initial.pointSizeTenths > 0) font.setPointSizeF(initial.pointSizeTenths / 10.0);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, QApplication::activeWindow());
    if (!ok) return std::nullopt;
    return FontChoice{chosen.family().toStdString(), int32_t(chosen.pointSizeF() * 10 + 0.5), initial.color};
}

void QtMessages::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, "Skyslate2", QString::fromStdString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void QtApp::Quit() { QApplication::exit(0); }

std::vector<Monitor> QtScreens::Monitors() const { return pixels::Monitors(); }

void StderrLog::Failure(const std::string& line) { std::fprintf(stderr, "skyslate2: %s\n", line.c_str()); }
