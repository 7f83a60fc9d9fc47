#include <gtest/gtest.h>

#include <algorithm>

#include "frontend/FrontEnd.h"
#include "manager/Tray.h"
#include "store/Settings.h"
#include "text/Catalogue.h"

TEST(Catalogue, ChineseLocalesKeepTheChineseTextsEveryOtherGetsEnglish) {
    const struct {
        const char* locale;
        UiLanguage language;
    } cases[] = {
        {"zh_CN.UTF-8", UiLanguage::Chinese}, {"zh-Hans-CN", UiLanguage::Chinese}, {"zh_TW", UiLanguage::Chinese},
        {"zh", UiLanguage::Chinese},          {"ZH-cn", UiLanguage::Chinese},      {"en_US.UTF-8", UiLanguage::English},
        {"de-DE", UiLanguage::English},       {"C", UiLanguage::English},          {"", UiLanguage::English},
        {"zu_ZA", UiLanguage::English},       {"zha", UiLanguage::English},
    };
    for (const auto& c : cases) EXPECT_EQ(LanguageOfLocale(c.locale), c.language) << c.locale;
}

TEST(Catalogue, EveryMessageTrayItemAndTheGreetingHaveTheirEnglish) {
    std::vector<std::string> shown = {text::kSettingAlreadyOpen, text::kKeepOneShown,       text::kKeepOneNote,
                                      text::kSaveFailed,         text::kTooManyNotes,       text::kAlreadyRunning,
                                      text::kCannotOpenFolder,   text::kReadFailed,         text::kTooLongToEdit,
                                      text::kAutostartTakenOver, text::kNotSavedUnreadable, kNothingToRestore,
                                      text::kWindowsUsedUp,      kRemovedElsewhere};
    for (const TrayItem& item : kTrayItems) shown.push_back(item.text);
    for (const std::string& chinese : shown) {
        EXPECT_EQ(InLanguage(UiLanguage::Chinese, chinese), chinese);
        const std::string english = InLanguage(UiLanguage::English, chinese);
        EXPECT_NE(english, chinese);
        EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](char c) { return c != '\xE4' && c != '\xE5'; }))
            << english;  // no CJK lead bytes
    }
    EXPECT_EQ(WelcomeText(UiLanguage::Chinese), WelcomeText());
    EXPECT_EQ(WelcomeText(UiLanguage::English).rfind("Welcome to Skyslate2 desktop notes*#33#", 0), 0u);
    EXPECT_EQ(InLanguage(UiLanguage::English, "not in the catalogue"), "not in the catalogue");
}
