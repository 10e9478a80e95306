#pragma once
// Test support: driver files on disk (the reference driver with mkvbeaf's
// options, patched copies, files that are no driver), folders that vanish
// with the test, and environment variables set for one scope.
#include "image.h"
#include "vidlib32/vidlib32.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace vbeaf_test {

namespace fs = std::filesystem;

using Bytes = std::vector<uint8_t>;

inline Bytes ReferenceImage(const mkvbeaf::ImageOptions& options = {}) {
    return mkvbeaf::BuildImage(options);
}

// A copy of `image` with a 32-bit header field replaced.
inline Bytes Patched(Bytes image, size_t offset, uint32_t value) {
    std::memcpy(image.data() + offset, &value, 4);
    return image;
}

inline void WriteFile(const fs::path& file, const Bytes& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A folder of the test's own, removed at its end.
class TempDir {
public:
    TempDir() {
        static int made = 0;
        path_ = fs::temp_directory_path() /
                ("vbeaf_test_" + std::to_string(getpid()) + "_" + std::to_string(++made));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // Writes `image` as <folder>/<name> (VBEAF.DRV unless named otherwise).
    fs::path put(const Bytes& image, const std::string& name = "VBEAF.DRV") const {
        WriteFile(path_ / name, image);
        return path_ / name;
    }

private:
    fs::path path_;
};

// Sets (or, with nullopt, unsets) an environment variable until the end of
// the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        Set(value);
    }
    ~ScopedEnv() { Set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const std::optional<std::string>& value) {
        if (value)
            setenv(name_, value->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

// No drive C and no VBEAF_PATH: only the folder a test names is looked at.
struct OnlyTheGivenFolder {
    ScopedEnv driveC{"PCEMU_DRIVE_C", std::nullopt};
    ScopedEnv path{"VBEAF_PATH", std::nullopt};
};

// Loads `image` from a folder of its own; fails the test when it does not
// load.
inline AF_DriverHeader* LoadImage(const Bytes& image) {
    OnlyTheGivenFolder only;
    TempDir dir;
    dir.put(image);
    AF_DriverHeader* driver = AF_loadDriver(dir.str().c_str());
    EXPECT_NE(driver, nullptr) << AF_errorMsg(AF_status());
    return driver;
}

} // namespace vbeaf_test
