#pragma once

#include <cstdint>

namespace x11 {

// A sizing cursor from the cursor font, themed where the system has a cursor theme (Xlib loads it);
// west-east, or north-south. Apart from the xcb code, as Xlib's macros would clash with it.
uint32_t SizeCursorId(bool westEast);

}  // namespace x11
