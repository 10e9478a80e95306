#include "vbeaf/driver_file.h"

#include "formats/dospath.h"
#include "vbe/guest_memory.h"
#include "vidlib32/vidlib32.h"

#include <cstdlib>
#include <optional>
#include <string_view>
#include <sys/stat.h>

namespace vidlib32::vbeaf {
namespace {

namespace fs = std::filesystem;

constexpr size_t kPathBuffer = 260; // terminating zero included
constexpr const char kFileName[] = "VBEAF.DRV";
constexpr size_t kSlack = 16; // zero bytes after the image

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

void AddCandidate(std::vector<std::string>& out, std::string folder) {
    if (!IsSeparator(folder.back())) folder += '\\';
    std::string name = folder + kFileName;
    if (name.size() + 1 <= kPathBuffer) out.push_back(std::move(name));
}

// The host folder a DOS name starts from, and the name's rest after it.
std::optional<fs::path> StartFolder(std::string_view& name) {
    fs::path start = ".";
    if (name.size() >= 2 && name[1] == ':') {
        const char* driveC = std::getenv("PCEMU_DRIVE_C");
        if ((name[0] != 'c' && name[0] != 'C') || !driveC || !*driveC) return std::nullopt;
        start = driveC;
        name.remove_prefix(2);
    } else if (!name.empty() && IsSeparator(name.front())) {
        start = "/";
    }
    while (!name.empty() && IsSeparator(name.front()))
        name.remove_prefix(1);
    return start;
}

} // namespace

std::vector<std::string> DriverCandidates(const char* directory) {
    std::vector<std::string> candidates;
    AddCandidate(candidates, "c:\\");
    if (const char* path = std::getenv("VBEAF_PATH"); path && *path) AddCandidate(candidates, path);
    if (directory && *directory) AddCandidate(candidates, directory);
    return candidates;
}

std::FILE* OpenDriverFile(const std::string& dosName) {
    std::string_view name = dosName;
    const std::optional<fs::path> start = StartFolder(name);
    if (!start) return nullptr;
    const std::optional<fs::path> found = formats::ResolveDosName(*start, name);
    if (!found) return nullptr;
    std::FILE* file = std::fopen(found->c_str(), "rb");
    if (!file) return nullptr;
    // Folders and devices open too, but hold no image.
    struct stat about;
    if (fstat(fileno(file), &about) != 0 || !S_ISREG(about.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

LoadedImage ReadDriverImage(std::FILE* file) {
    LoadedImage loaded;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        loaded.status = AF_STATUS_NOT_A_DRIVER;
        return loaded;
    }
    const size_t bytes = static_cast<size_t>(length);
    uint8_t* block = GuestAlloc(bytes + kSlack);
    if (!block) {
        std::fclose(file);
        loaded.status = AF_STATUS_NO_MEMORY;
        return loaded;
    }
    const size_t read = std::fread(block, 1, bytes, file);
    std::fclose(file);
    if (read != bytes) {
        GuestFree(block);
        loaded.status = AF_STATUS_NOT_A_DRIVER;
        return loaded;
    }
    loaded.image = reinterpret_cast<AF_DriverHeader*>(block);
    loaded.length = bytes;
    return loaded;
}

} // namespace vidlib32::vbeaf
