#include "manager/Choosers.h"

std::optional<Appearance> PickColorFor(Pickers& pickers, const Appearance& from) {
    const std::optional<uint32_t> color = pickers.PickColor(from.color);
    if (!color) return std::nullopt;
    Appearance chosen = from;
    chosen.color = *color | 0xFF000000u;
    return chosen;
}

std::optional<Appearance> PickFontFor(Pickers& pickers, const Appearance& from) {
    const std::optional<FontChoice> choice = pickers.PickFont({from.font, from.fontSize, from.color});
    if (!choice) return std::nullopt;
    return Appearance{choice->color | 0xFF000000u, choice->face, choice->pointSizeTenths};
}
