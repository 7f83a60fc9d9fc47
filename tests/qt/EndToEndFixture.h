#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <functional>

#include "FileHelpers.h"
#include "SettingsFile.h"
#include "RunningProgram.h"
#include "TempFolder.h"
#include "store/SettingsEncoding.h"
#include "store/IniFile.h"
#include "store/Unicode.h"

// build/linux/bin/skyslate2 in a folder of its own, with its own XDG folders.
class EndToEndQt : public ::testing::Test {
protected:
    std::string SettingsPath() const { return folder.File("TextSetting.ini"); }
    std::string EntryPath() const { return config.Path() + "/autostart/vezuDeve_v2.desktop"; }
    RunningProgram Start(int userId = -1, const RunningProgram::Environment& environment = {}) {
        return RunningProgram(folder.Path(), config.Path(), runtime.Path(), userId, environment);
    }
    std::string FileValue(size_t section, const char* key) const { return SettingsValue(SettingsPath(), section, key); }

    EndToEndQt() {
        // A session's runtime folder is private.
        std::filesystem::permissions(std::filesystem::u8path(runtime.Path()), std::filesystem::perms::owner_all);
    }

    TempFolder folder;
    TempFolder config;
    TempFolder runtime;
};

// A note of solid blocks, so that a press well inside it lands on painted pixels.
inline std::string BlockNote(int number, int x, int y, const std::string& extra = "isShow=1\n",
                             const std::string& text = "\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88\xE2\x96\x88") {
    return "[Text_" + std::to_string(number) + "]\n" + extra + "positionX=" + std::to_string(x) +
           "\npositionY=" + std::to_string(y) + "\nwidth=600\nheight=200\ncolor=0,128,255\nfont=DejaVu Sans\n" +
           "fontSize=800\ntext=" + text + "\n";
}

inline void Xdotool(const QStringList& args) {
    ASSERT_EQ(QProcess::execute("xdotool", args), 0) << args.join(' ').toStdString();
}

// Waits up to ten seconds (or the time given) for a condition.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        if (condition()) return true;
        QThread::msleep(50);
    }
    return condition();
}

// What a user does with mouse and keyboard.
// A drag with the left button: pressed at from, moved by in four steps, released there.
inline void Drag(QPoint from, QPoint by) {
    Xdotool({"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1"});
    QThread::msleep(100);
    for (int step = 1; step <= 4; ++step) {
        const QPoint at = from + by * step / 4;
        Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
        QThread::msleep(70);
    }
    Xdotool({"mouseup", "1"});
}
inline void DoubleClick(QPoint at) {
    Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
    QThread::msleep(100);
    Xdotool({"click", "--repeat", "2", "--delay", "60", "1"});
}
inline void Keys(const QStringList& keys) {
    for (const QString& key : keys) {
        Xdotool({"key", key});
        QThread::msleep(60);
    }
}
inline QStringList Repeat(const QString& key, int times) {
    QStringList keys;
    for (int i = 0; i < times; ++i) keys << key;
    return keys;
}
