#pragma once

#include <gtest/gtest.h>

#include "Fakes.h"
#include "FileHelpers.h"
#include "SettingsFile.h"
#include "TempFolder.h"
#include "manager/ManagerPresenter.h"
#include "manager/NoteManager.h"
#include "quicksettings/QuickSettings.h"
#include "store/SettingsEncoding.h"
#include "store/IniFile.h"
#include "store/Settings.h"
#include "store/Unicode.h"

// A manager on fake views over a settings file in a temporary folder.
class ManagerFixture : public ::testing::Test, protected FakeFrontEnd {
protected:
    std::string SettingsPath() const { return folder.File(kSettingsFileName); }

    void WriteSettings(const std::string& text) { WriteBytes(SettingsPath(), text); }

    // A section with the keys given and a few usual ones.
    static std::string Note(int number, const std::string& text, const std::string& extra = "") {
        return "[Text_" + std::to_string(number) + "]\ntext=" + text + "\n" + extra;
    }

    void Start() {
        manager = std::make_unique<NoteManager>(view, Services(SettingsPath()));
        factory.onUserPlaced = [this](NoteWindow& window, const WindowRect& rect) { manager->OnUserPlaced(window, rect); };
        presenter = std::make_unique<ManagerPresenter>(view, *manager);
        dialogs = std::make_unique<QuickSettingsDialogs>(*manager, *presenter);
        presenter->Start();
    }

    // The window created n-th in this run, and the window of a row now.
    FakeWindow& Window(size_t n) { return *factory.created.at(n); }
    FakeWindow* WindowOfRow(int row) { return static_cast<FakeWindow*>(manager->WindowOf(row)); }
    const NoteRecord& Row(int i) { return manager->Record(i); }

    IniDocument FileSections() const { return SettingsSections(SettingsPath()); }
    std::string FileValue(size_t section, const char* key) const { return SettingsValue(SettingsPath(), section, key); }

    TempFolder folder;
    std::unique_ptr<NoteManager> manager;        // the notes' owner
    std::unique_ptr<ManagerPresenter> presenter;  // the manager dialog
    std::unique_ptr<QuickSettingsDialogs> dialogs;
};

// Moves a folder aside for the scope, so that nothing can be written at its old path; the file that was
// there stays, under File().
class FolderAway {
public:
    explicit FolderAway(const std::string& folder)
        : from_(std::filesystem::u8path(folder)), to_(std::filesystem::u8path(folder + "-away")) {
        std::filesystem::rename(from_, to_);
    }
    ~FolderAway() { std::filesystem::rename(to_, from_); }
    FolderAway(const FolderAway&) = delete;
    FolderAway& operator=(const FolderAway&) = delete;
    std::string File(const std::string& name) const { return (to_ / std::filesystem::u8path(name)).u8string(); }

private:
    std::filesystem::path from_;
    std::filesystem::path to_;
};
