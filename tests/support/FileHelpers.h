#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(std::filesystem::u8path(path)); }

// Read-only as a user makes a file so: no write permission for anyone; on Windows the read-only
// attribute. Writable gives the usual permissions back.
inline void SetReadOnly(const std::string& path, bool readOnly) {
    using std::filesystem::perms;
    const perms mode = readOnly ? perms::owner_read | perms::group_read | perms::others_read
                                : perms::owner_read | perms::owner_write | perms::group_read | perms::others_read;
    std::filesystem::permissions(std::filesystem::u8path(path), mode);
}
