#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end of scope.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("skyslate2-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // UTF-8 path of the folder, or of a file in it.
    std::string Path() const { return path_.u8string(); }
    std::string File(const std::string& name) const { return (path_ / std::filesystem::u8path(name)).u8string(); }

private:
    std::filesystem::path path_;
};
