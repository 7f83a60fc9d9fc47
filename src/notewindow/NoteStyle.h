#pragma once

#include <cstdint>

#include "store/NoteRecord.h"

// How every note looks, on every platform: its text filled in the note's colour inside a thin black
// outline, over a hard translucent shadow to the right and below.
namespace style {

inline constexpr uint32_t kShadowColor = 0x96000000;   // black, alpha 150
inline constexpr int kShadowOffset = 2;                // pixels right and down
inline constexpr uint32_t kOutlineColor = 0xFF000000;  // opaque black
inline constexpr float kOutlineWidth = 1.0f;           // pixels
inline constexpr uint32_t kDefaultFill = 0xFFFF0000;   // a note never given a colour draws red

inline constexpr const char* kDefaultFace = kDefaultFontFace;
// What a window draws before it is given a font: the default face, bold, 50 pixels.
inline constexpr int kInitialStyle = 1;
inline constexpr float kInitialEmSize = 50.0f;

// Chinese faces that Windows systems have, and sans-serif Chinese faces that stand in for them where a
// note's face is not installed, in order of preference.
inline constexpr const char* kWindowsChineseFaces[] = {"SimHei", "SimSun", "NSimSun", "Microsoft YaHei",
                                                       "KaiTi", "FangSong", "DengXian"};
inline constexpr const char* kChineseFallbackFaces[] = {"Microsoft YaHei", "SimHei", "SimSun",
                                                        "Noto Sans CJK SC", "Source Han Sans SC",
                                                        "WenQuanYi Micro Hei", "WenQuanYi Zen Hei",
                                                        "Droid Sans Fallback", "AR PL UMing CN"};

}  // namespace style
