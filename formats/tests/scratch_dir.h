#pragma once
// Test support: a temporary folder for one test process, removed when the
// process ends, and reading a file back whole.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace testing_support {

inline const std::filesystem::path& ScratchDir(const std::string& prefix) {
    struct Folder {
        std::filesystem::path path;
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder{[&] {
        auto d = std::filesystem::temp_directory_path() / (prefix + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d;
    }()};
    return folder.path;
}

// The bytes of a file, empty when it cannot be read.
inline std::vector<uint8_t> FileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace testing_support
