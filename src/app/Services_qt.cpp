#include "app/Services_qt.h"

#include <QApplication>
#include <QColorDialog>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>

#include <cstdio>

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

std::vector<Monitor> QtScreens::Monitors() const {
    std::vector<Monitor> monitors;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        const QRect work = screen->availableGeometry();
        monitors.push_back({{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
                            {work.left(), work.top(), work.left() + work.width(), work.top() + work.height()}});
    }
    return monitors;
}

void StderrLog::Failure(const std::string& line) { std::fprintf(stderr, "skyslate2: %s\n", line.c_str()); }

SingleInstance::SingleInstance(const QString& settingsPath) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    const QByteArray key =
        QCryptographicHash::hash(QFileInfo(settingsPath).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    lock_ = std::make_unique<QLockFile>(folder + "/skyslate2-" + QString::fromLatin1(key) + ".lock");
    lock_->setStaleLockTime(0);  // only a lock whose process is gone is stale
    locked_ = lock_->tryLock(0);
}
