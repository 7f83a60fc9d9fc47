#pragma once

#include <optional>

#include "frontend/FrontEnd.h"
#include "manager/Note.h"

// The platform's pickers opened on an appearance; what was picked, or nothing when cancelled.
std::optional<Appearance> PickColorFor(Pickers& pickers, const Appearance& from);
std::optional<Appearance> PickFontFor(Pickers& pickers, const Appearance& from);
