#pragma once

#include <QTimer>

#include <functional>

#include "frontend/FrontEnd.h"
#include "notewindow/Placement.h"

// Qt's colour and font pickers; both open on the note's current appearance. The font picker has no
// colour box, so a font choice keeps the note's colour.
class QtPickers : public Pickers {
public:
    std::optional<uint32_t> PickColor(uint32_t initial) override;
    std::optional<FontChoice> PickFont(const FontChoice& initial) override;
};

// Message boxes with an OK button.
class QtMessages : public Messages {
public:
    void ShowMessage(const std::string& text) override;
    void ShowHelp(const std::string& text) override;
};

// Ends every running event loop.
class QtApp : public AppControl {
public:
    void Quit() override;
};

// The monitors Qt knows, in physical pixels.
class QtScreens : public Screens {
public:
    std::vector<Monitor> Monitors() const override;
};

// Failures go to standard error, one line each.
class StderrLog : public FailureLog {
public:
    void Failure(const std::string& line) override;
};

// A later look at the settings file, on the event loop: onTime runs once the time has passed.
class QtWakeup : public FileWakeup {
public:
    explicit QtWakeup(std::function<void()> onTime);
    void LookAgainAfter(int milliseconds) override;

private:
    QTimer timer_;
};
