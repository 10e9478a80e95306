// DOS name resolution over arbitrary names against a small folder tree with
// names that differ only in case, spaces, dots and a link that loops. A name
// that resolves names something that is there; one that does not is turned by
// DosNameToPath into the tree's path with '\' read as '/'. Names from the root
// are passed over, so that the search stays in the tree (".." may still climb
// out of it, read-only), and so are names longer than the 255 bytes that tile
// set lines and maps can record.
#include "asan_options.h"
#include "fuzz_files.h"

#include "formats/dospath.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path& Tree() {
    static const fs::path& root = []() -> const fs::path& {
        const fs::path& d = fuzzing::FuzzDir("dospath");
        for (const char* folder : {"Tiles/Pics", "tiles", "A B/c.d", "x/Y/z"})
            fs::create_directories(d / folder);
        for (const char* file : {"Tiles/Pics/Sheet.PBM", "Tiles/Pics/sheet.pbm", "tiles/One.til",
                                 "A B/c.d/e", "x/Y/z/END", "demo.map"})
            fuzzing::WriteFile(d / file, "x");
        std::error_code ec;
        fs::create_directory_symlink(".", d / "x" / "Loop", ec);
        return d;
    }();
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    if (name.size() > 255 || (!name.empty() && name.front() == '/')) return 0;
    const std::optional<fs::path> found = formats::ResolveDosName(Tree(), name);
    std::error_code ec;
    if (found) {
        if (!fs::exists(fs::symlink_status(*found, ec))) std::abort();
        return 0;
    }
    std::string slashed(name);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (formats::DosNameToPath(Tree(), name) != Tree() / slashed) std::abort();
    return 0;
}
