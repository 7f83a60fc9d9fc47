#include "store/FileIO.h"

#include <algorithm>

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    FileRead read = ReadSettingsFile(path);
    if (read.status != FileRead::Status::Read) return std::nullopt;
    return std::move(read.bytes);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, const WriteFault* fault,
                         std::string* error) {
    if (!fault) return WriteFileAtomicallyOnDisk(path, bytes, false, error);
    return WriteFileAtomicallyOnDisk(path, bytes.substr(0, std::min(fault->failAfterBytes, bytes.size())), true,
                                     error);
}
