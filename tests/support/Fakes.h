#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/Autostart.h"
#include "manager/ManagerViews.h"
#include "manager/NoteManager.h"
#include "notewindow/NoteWindow.h"

// Test doubles that record what the core asks of the front end.

struct FakeWindow : NoteWindow {
    std::string className;
    WindowRect rect;
    std::string text;
    uint32_t fill = 0xFFFF0000;
    std::string face;
    float emSize = 0;
    int draws = 0;
    bool visible = true;  // created visible, like the real windows
    bool topMost = true;
    bool destroyed = false;

    void SetText(const std::string& t) override {
        text = t;
        ++draws;
    }
    std::string Text() const override { return text; }
    void SetFillColor(uint32_t argb) override { fill = argb; }
    void SetTextFont(const std::string& f, int, float size) override {
        face = f;
        emSize = size;
    }
    void Draw() override { ++draws; }
    void Show(bool v) override { visible = v; }
    void SetTopMost(bool t) override { topMost = t; }
    WindowRect GetWindowRect() const override { return rect; }
    void Destroy() override {
        destroyed = true;
        visible = false;
    }
    void MoveTo(int32_t x, int32_t y) {
        rect = {x, y, x + rect.width(), y + rect.height()};
    }
};

struct FakeWindowFactory : NoteWindowFactory {
    std::vector<FakeWindow*> created;
    std::unique_ptr<NoteWindow> CreateNoteWindow(const std::string& className, int32_t x, int32_t y, int32_t w,
                                                 int32_t h) override {
        auto window = std::make_unique<FakeWindow>();
        window->className = className;
        window->rect = {x, y, x + w, y + h};
        created.push_back(window.get());
        return window;
    }
};

struct FakeView : ManagerView {
    struct Row {
        std::string label;
        bool checked = false;
    };
    std::string edit;
    bool autoStartCheck = false;
    bool topMostCheck = false;
    std::vector<Row> rows;
    int selected = -1;
    bool shown = true;

    void SetEditText(const std::string& t) override { edit = t; }
    std::string EditText() const override { return edit; }
    void SetAutoStartCheck(bool c) override { autoStartCheck = c; }
    bool AutoStartCheck() const override { return autoStartCheck; }
    void SetTopMostCheck(bool c) override { topMostCheck = c; }
    bool TopMostCheck() const override { return topMostCheck; }
    void InsertListRow(int i, const std::string& label) override { rows.insert(rows.begin() + i, {label, false}); }
    void SetListRowText(int i, const std::string& label) override { rows.at(size_t(i)).label = label; }
    void SetListCheck(int i, bool c) override { rows.at(size_t(i)).checked = c; }
    void DeleteListRow(int i) override { rows.erase(rows.begin() + i); }
    int ListRowCount() const override { return int(rows.size()); }
    void SelectListRow(int i) override { selected = i; }
    void ShowManager(bool v) override { shown = v; }
};

struct FakePickers : Pickers {
    std::deque<std::optional<uint32_t>> colorAnswers;
    std::deque<std::optional<FontChoice>> fontAnswers;
    std::vector<uint32_t> colorOpenedWith;
    std::vector<FontChoice> fontOpenedWith;

    std::optional<uint32_t> PickColor(uint32_t initial) override {
        colorOpenedWith.push_back(initial);
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
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
};

struct FakeAutostart : AutostartStore {
    std::optional<std::string> stored;
    int writes = 0;
    std::optional<std::string> ReadRegistration() override { return stored; }
    void WriteRegistration(const std::string& r) override {
        stored = r;
        ++writes;
    }
    void RemoveRegistration() override { stored.reset(); }
    std::string DesiredRegistration() const override { return "\"skyslate2\" --settings-dir \"here\""; }
};

struct FakeApp : AppControl {
    int quits = 0;
    void Quit() override { ++quits; }
};

// Every fake the manager drives, ready to hand to a NoteManager.
struct FakeFrontEnd {
    FakeView view;
    FakeWindowFactory factory;
    FakePickers pickers;
    FakeMessages messages;
    FakeAutostart autostart;
    FakeApp app;

    NoteManager::Services Services(const std::string& settingsPath) {
        return {view, factory, pickers, messages, autostart, app, settingsPath};
    }
};
