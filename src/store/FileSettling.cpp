#include "store/FileSettling.h"

#include <algorithm>

namespace {

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

}  // namespace

bool LooksWhole(std::string_view text) {
    if (text.empty() || (text.back() != '\n' && text.back() != '\r')) return false;
    int sections = 0;
    int keys = 0;  // of the section being read
    int fewestBefore = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() == '[') {
            if (sections > 0) fewestBefore = sections == 1 ? keys : std::min(fewestBefore, keys);
            ++sections;
            keys = 0;
        } else if (!line.empty() && line.front() != ';' && line.find('=') != std::string_view::npos) {
            ++keys;
        }
    }
    return sections < 2 || keys >= fewestBefore;
}

int Settling::WaitBeforeTaking(const FileLook& look, int64_t nowMs) {
    if (look.writers == Writers::Writing || look.changing) {
        candidate_.reset();
        return std::max(1, times_.pollMs);
    }
    const bool doubtful = look.writers == Writers::Unknown || !look.looksWhole;
    const int quiet = doubtful ? times_.doubtfulQuietMs : times_.quietMs;
    if (!candidate_ || *candidate_ != look.stamp) {
        candidate_ = look.stamp;
        since_ = nowMs;
    }
    const int64_t waited = nowMs - since_;
    return waited >= quiet ? 0 : int(quiet - waited);
}
