#pragma once

#include <cstdint>
#include <string_view>

// FNV-1a over the bytes: short, and the same on every run and platform, for names made from content.
template <typename Hash>
Hash Fnv1a(std::string_view bytes, Hash offsetBasis, Hash prime) {
    Hash hash = offsetBasis;
    for (unsigned char c : bytes) hash = (hash ^ c) * prime;
    return hash;
}

inline uint32_t ShortHash(std::string_view bytes) { return Fnv1a<uint32_t>(bytes, 2166136261u, 16777619u); }

inline uint64_t LongHash(std::string_view bytes) {
    return Fnv1a<uint64_t>(bytes, 14695981039346656037ull, 1099511628211ull);
}
