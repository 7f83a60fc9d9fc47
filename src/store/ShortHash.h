#pragma once

#include <cstdint>
#include <string_view>

// FNV-1a over the bytes: short, and the same on every run and platform, for names made from content.
inline uint32_t ShortHash(std::string_view bytes) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
    return hash;
}
