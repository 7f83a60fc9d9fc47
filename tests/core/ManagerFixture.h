#pragma once

#include <gtest/gtest.h>

#include "Fakes.h"
#include "FileHelpers.h"
#include "store/IniFile.h"
#include "manager/NoteManager.h"
#include "store/Settings.h"
#include "TempFolder.h"
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
        manager = std::make_unique<NoteManager>(Services(SettingsPath()));
        manager->Start();
    }

    FakeWindow& Window(size_t i) { return *factory.created.at(i); }
    NoteState& State() { return manager->State(); }
    NoteRecord& Row(size_t i) { return State().table.rows.at(i); }

    std::vector<IniSection> FileSections() const {
        return ParseIni(DecodeSettingsBytes(ReadBytes(SettingsPath())));
    }
    std::string FileValue(size_t section, const char* key) const {
        const auto sections = FileSections();
        const std::string* value = FindValue(sections.at(section), key);
        return value ? *value : "<missing>";
    }

    TempFolder folder;
    std::unique_ptr<NoteManager> manager;
};
