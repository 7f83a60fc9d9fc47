#pragma once

#include <cstddef>
#include <string_view>

// Settings files without a byte-order mark are UTF-8 or in the legacy Chinese code page (GBK), and
// short GBK text is often valid UTF-8 by chance (通知 reads as "֪ͨ"). These weigh how plausible the
// same bytes are as either: each character adds what it says for its encoding.
struct EncodingScores {
    long utf8 = 0;
    long gbk = 0;
};
// A large file is decided by its beginning when that is clear enough.
EncodingScores ScoreUtf8AgainstGbk(std::string_view bytes);

// True when every byte above ASCII belongs to a complete GBK (GB18030) character.
bool IsWellFormedGbk(std::string_view bytes);

// What speaks for UTF-8 in bytes that are not valid UTF-8 as a whole: characters of three or four
// bytes, which GBK text hardly ever forms by chance, against the runs of bytes that are not UTF-8.
struct Utf8Evidence {
    size_t wideCharacters = 0;
    size_t brokenRuns = 0;
};
Utf8Evidence CountUtf8Evidence(std::string_view bytes);
