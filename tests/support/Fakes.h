#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frontend/FrontEnd.h"
#include "manager/NoteManager.h"
#include "frontend/FrontEnd.h"
#include "notewindow/Placement.h"
#include "StoreFakes.h"
#include "store/Autostart.h"

// Test doubles that record what the core asks of the front end.

struct FakeWindow : NoteWindow {
    std::string className;
    WindowRect rect;
    NoteLook look;
    int draws = 0;
    bool visible = false;  // created hidden, like the real windows
    bool topMost = true;
    bool locked = false;
    bool destroyed = false;

    void SetLook(NoteLook l) override {
        look = std::move(l);
        ++draws;
    }
    bool Show(bool v) override {
        visible = v;
        return true;
    }
    bool SetTopMost(bool t) override {
        topMost = t;
        return true;
    }
    bool Place(const WindowRect& r) override {
        rect = r;
        return true;
    }
    std::optional<WindowRect> GetWindowRect() const override {
        return rect;
    }
    // Text as a test reads it: each line as wide as its characters at half the em, 1.25 em high.
    std::optional<WindowRect> TextBounds() override {
        if (!visible || look.text.empty()) return std::nullopt;
        size_t lines = 1, longest = 0, length = 0;
        for (char c : look.text) {
            if (c == '\n')
                ++lines, length = 0;
            else if (c != '\r')
                longest = std::max(longest, ++length);
        }
        const int32_t width = std::min<int32_t>(rect.width(), int32_t(float(longest) * look.emSize / 2));
        const int32_t height = std::min<int32_t>(rect.height(), int32_t(float(lines) * look.emSize * 1.25f));
        return WindowRect{rect.left, rect.top, rect.left + width, rect.top + height};
    }
    void SetLocked(bool l) override { locked = l; }
    void Destroy() override {
        destroyed = true;
        visible = false;
    }
    // The user drags the window there, and it says so.
    void MoveTo(int32_t x, int32_t y) {
        Impose(x, y);
        if (onUserPlaced && *onUserPlaced) (*onUserPlaced)(*this, rect);
    }
    // The window system puts the window there on its own: a tiling or centring compositor, a rescue.
    void Impose(int32_t x, int32_t y) { rect = {x, y, x + rect.width(), y + rect.height()}; }
    const UserPlacedHandler* onUserPlaced = nullptr;
    // What the note shows, as the tests read it.
    const std::string& text() const { return look.text; }
    uint32_t fill() const { return look.color; }
};

struct FakeWindowFactory : NoteWindowFactory {
    std::vector<FakeWindow*> created;
    UserPlacedHandler onUserPlaced;
    int refuseNext = 0;  // how many of the next creations the window system refuses

    std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, const WindowRect& rect) override {
        if (refuseNext > 0) {
            --refuseNext;
            return nullptr;
        }
        auto window = std::make_unique<FakeWindow>();
        window->className = className;
        window->rect = rect;
        window->onUserPlaced = &onUserPlaced;
        created.push_back(window.get());
        return window;
    }
};

struct FakeView : ManagerView, NoteListView {
    struct Row {
        std::string label;
        bool checked = false;
    };
    std::string edit;
    bool editable = true;
    bool autoStartCheck = false;
    bool topMostCheck = false;
    bool lockCheck = false;
    std::vector<Row> rows;
    int selected = -1;
    int readyForTyping = -1;  // the row selected when the edit was made ready for typing
    bool shown = false;  // the dialog starts hidden

    void SetEditText(const EditableText& t) override {
        edit = t.text;
        editable = t.editable;
    }
    void SetAutoStartCheck(bool c) override { autoStartCheck = c; }
    void SetTopMostCheck(bool c) override { topMostCheck = c; }
    void SetLockCheck(bool c) override { lockCheck = c; }
    void InsertListRow(int i, const std::string& label, bool c) override {
        rows.insert(rows.begin() + i, {label, c});
    }
    void SetListRowText(int i, const std::string& label) override { rows.at(size_t(i)).label = label; }
    void SetListCheck(int i, bool c) override { rows.at(size_t(i)).checked = c; }
    void DeleteListRow(int i) override { rows.erase(rows.begin() + i); }
    void SelectListRow(int i) override { selected = i; }
    void ShowManager(bool v) override { shown = v; }
    void ReadyForTyping() override { readyForTyping = selected; }
};

struct FakeScreens : Screens {
    std::vector<Monitor> monitors{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
    std::vector<Monitor> Monitors() const override { return monitors; }
};

struct FakePickers : Pickers {
    std::deque<std::optional<uint32_t>> colorAnswers;
    std::deque<std::optional<FontChoice>> fontAnswers;
    std::vector<uint32_t> colorOpenedWith;
    std::vector<FontChoice> fontOpenedWith;
    std::function<void()> whileOpen;  // what the user does elsewhere while a picker is up (once)

    std::optional<uint32_t> PickColor(uint32_t initial) override {
        colorOpenedWith.push_back(initial);
        if (auto meanwhile = std::exchange(whileOpen, nullptr)) meanwhile();
        auto answer = colorAnswers.empty() ? std::nullopt : colorAnswers.front();
        if (!colorAnswers.empty()) colorAnswers.pop_front();
        return answer;
    }
    std::optional<FontChoice> PickFont(const FontChoice& initial) override {
        fontOpenedWith.push_back(initial);
        auto answer = fontAnswers.empty() ? std::nullopt : fontAnswers.front();
        if (!fontAnswers.empty()) fontAnswers.pop_front();
        return answer;
    }
};

struct FakeMessages : Messages {
    std::vector<std::string> shown;
    std::function<void()> whileShown;  // what happens while the next box is up (once)
    void ShowMessage(const std::string& text) override {
        shown.push_back(text);
        if (auto meanwhile = std::exchange(whileShown, nullptr)) meanwhile();
    }
    void ShowHelp(const std::string& text) override { shown.push_back(text); }
};

struct FakeAutostart : AutostartStore {
    std::optional<std::string> stored;
    int writes = 0;
    int removes = 0;
    std::optional<std::string> ReadRegistration() override { return stored; }
    void WriteRegistration(const std::string& r) override {
        stored = r;
        ++writes;
    }
    void RemoveRegistration() override {
        stored.reset();
        ++removes;
    }
    std::string DesiredRegistration() const override { return "\"skyslate2\" --settings-dir \"here\""; }
};

struct FakeApp : AppControl {
    int quits = 0;
    void Quit() override { ++quits; }
};

struct FakeWakeup : FileWakeup {
    std::vector<int> asked;  // every request, in milliseconds
    void LookAgainAfter(int milliseconds) override { asked.push_back(milliseconds); }
};

// Every fake the manager drives, ready to hand to a NoteManager.
struct FakeFrontEnd {
    FakeView view;
    FakeWindowFactory factory;
    FakeScreens screens;
    FakePickers pickers;
    FakeMessages messages;
    FakeAutostart autostart;
    FakeApp app;
    FakeLog log;
    FakeClock clock;
    FakeWakeup wakeup;
    std::string dataFolder;  // none: no copies kept on "this machine"
    // Another writer's file is taken at first sight unless a test waits for it to settle.
    SettleTimes settle{0, 0, 250};

    NoteManager::Services Services(const std::string& settingsPath) {
        return {factory, screens, pickers,      messages,   autostart,           app,      log,
                clock,   wakeup,  settingsPath, dataFolder, UiLanguage::Chinese, "THISPC", settle};
    }
};
