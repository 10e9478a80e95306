#pragma once
// For fuzz targets that read files: a folder of the fuzzing process's own,
// files written into it, pictures for tile sets to name, and an input split
// into a text and the bytes of a picture.
#include "formats/pbm.h"
#include "formats/tests/scratch_dir.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzzing {

// Made once, named after the target and the process; removed at exit. In
// memory when /dev/shm is there: a disk file system may write a file out each
// time it is cut short and written anew, which is what every run does.
inline const std::filesystem::path& FuzzDir(const char* target) {
    static const bool inMemory = [] {
        std::error_code ec;
        return std::filesystem::is_directory("/dev/shm", ec) &&
               ::setenv("TMPDIR", "/dev/shm", 1) == 0;
    }();
    (void)inMemory;
    return testing_support::ScratchDir("zorv_fuzz_" + std::string(target) + "_");
}

// One open, write and close: no stdio buffer is made and freed each run.
inline void WriteFile(const std::filesystem::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return;
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += size_t(n);
    }
    ::close(fd);
}

// The bytes before the first 0 and those after it (none without a 0).
inline std::pair<std::string_view, std::string_view> SplitAtZero(const uint8_t* data, size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const size_t zero = all.find('\0');
    if (zero == std::string_view::npos) return {all, {}};
    return {all.substr(0, zero), all.substr(zero + 1)};
}

// A 32 x 32 tile A.PBM of transparent, shading and plain pixels.
inline void WriteTilePictures(const std::filesystem::path& dir) {
    std::vector<uint8_t> pixels(32 * 32);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = uint8_t(i % 7 == 0 ? 0 : i % 5 == 0 ? 1 : i % 3 == 0 ? 9 : 70 + i % 40);
    const uint8_t rgb[768] = {};
    formats::WritePbmFile(dir / "A.PBM", 32, 32, pixels.data(), rgb, 256, true);
}

// The folder of `target` with the tile picture in it.
inline const std::filesystem::path& TileSetDir(const char* target) {
    static const bool written = [&] {
        WriteTilePictures(FuzzDir(target));
        return true;
    }();
    (void)written;
    return FuzzDir(target);
}

} // namespace fuzzing
