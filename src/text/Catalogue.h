#pragma once

#include <string>
#include <string_view>

// The languages of the interface: Chinese, the texts as the program has always shown them, or English.
enum class UiLanguage { Chinese, English };

// Chinese for a Chinese locale or language name ("zh_CN.UTF-8", "zh-Hant-TW", "zh"), English for any other.
UiLanguage LanguageOfLocale(std::string_view name);

// A text of the interface in the language: the Chinese text itself, or its English translation (the same
// one the Linux program loads from translations/skyslate2_en.ts); a text without one stays as it is.
std::string InLanguage(UiLanguage language, std::string_view chinese);

// Every text the catalogue translates, for checks that nothing shown is left out.
size_t CatalogueSize();
std::string_view CatalogueSource(size_t index);
