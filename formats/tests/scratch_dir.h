#pragma once
// A temporary folder for one test process, removed when the process ends.
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

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

} // namespace testing_support
