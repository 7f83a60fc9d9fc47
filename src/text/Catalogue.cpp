#include "text/Catalogue.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

struct Entry {
    const char* source;
    const char* english;
};

constexpr Entry kEntries[] = {
#include "EnglishCatalogue.inc"
};

}  // namespace

UiLanguage LanguageOfLocale(std::string_view name) {
    const bool chinese = name.size() >= 2 && std::tolower(static_cast<unsigned char>(name[0])) == 'z' &&
                         std::tolower(static_cast<unsigned char>(name[1])) == 'h' &&
                         (name.size() == 2 || !std::isalpha(static_cast<unsigned char>(name[2])));
    return chinese ? UiLanguage::Chinese : UiLanguage::English;
}

std::string InLanguage(UiLanguage language, std::string_view chinese) {
    if (language == UiLanguage::English) {
        const auto found = std::find_if(std::begin(kEntries), std::end(kEntries),
                                        [&](const Entry& entry) { return chinese == entry.source; });
        if (found != std::end(kEntries)) return found->english;
    }
    return std::string(chinese);
}

size_t CatalogueSize() { return std::size(kEntries); }

std::string_view CatalogueSource(size_t index) { return kEntries[index].source; }
