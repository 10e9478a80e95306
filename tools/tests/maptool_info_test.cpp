// maptool info and dump on maps of very many chunks: the chunks are written
// out as they are read, not kept, and the text is what dumping the whole
// description at once gives.
#include "formats/tests/scratch_dir.h"
#include "maptool/commands.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

namespace {

using Bytes = std::vector<uint8_t>;

const fs::path& WorkDir() {
    return testing_support::ScratchDir("zorv_maptool_info_");
}

void PutLong(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
        b.push_back(uint8_t(v >> s));
}

// A 2 x 1 map with a tile set name, an unknown chunk, then `extra` empty
// chunks "XXXX" and `zeros` zero bytes (a hole: the file is extended).
fs::path WriteMap(const std::string& name, size_t extra, uint64_t zeros) {
    Bytes b = {'Z', 'M', 'A', 'P', 'T', 'H', 'D', 'R', 0,  0,  0,
               10,  0,   2,   0,   1,   0,   32,  0,   32, 12, 0};
    const Bytes kids = {'K', 'I', 'D', 'S', 0, 0, 0, 8, 8, 'A', '.', 'T', 'I', 'L', 13, 13};
    b.insert(b.end(), kids.begin(), kids.end());
    b.insert(b.end(), {'B', 'O', 'D', 'Y', 0, 0, 0, 24});
    b.insert(b.end(), 24, 7);
    b.insert(b.end(), {'N', 'O', 'T', 'E', 0, 0, 0, 3, 'a', 'b', 'c', 0});
    for (size_t i = 0; i < extra; ++i)
        b.insert(b.end(), {'X', 'X', 'X', 'X', 0, 0, 0, 0});
    Bytes file = {'F', 'O', 'R', 'M'};
    PutLong(file, uint32_t(b.size() + 8 + zeros));
    file.insert(file.end(), b.begin(), b.end());
    const fs::path path = WorkDir() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    fs::resize_file(path, file.size() + zeros);
    return path;
}

std::string Info(const fs::path& map, bool pretty) {
    std::ostringstream out, err;
    maptool::Arguments args{"info", map.string()};
    if (pretty) args.push_back("--pretty");
    EXPECT_EQ(maptool::RunMapTool(args, out, err), 0) << err.str();
    return out.str();
}

} // namespace

TEST(MaptoolInfo, MapChunksAreWrittenAsReadAndMatchTheWholeDescription) {
    const fs::path map = WriteMap("small.map", 2, 32);
    Json chunks = Json::array();
    auto chunk = [&](const char* id, int offset, int length) {
        chunks.push_back({{"id", id}, {"offset", offset}, {"length", length}});
    };
    chunk("THDR", 12, 10);
    chunk("KIDS", 30, 8);
    chunk("BODY", 46, 24);
    chunk("NOTE", 78, 3);
    chunk("XXXX", 90, 0);
    chunk("XXXX", 98, 0);
    // The zero bytes after them read as four empty chunks, listed once.
    chunks.push_back({{"id", std::string(4, '\0')}, {"offset", 106}, {"length", 0}, {"count", 4}});
    const Json whole = {{"type", "map"},  {"width", 2},         {"height", 1},
                        {"cellWords", 6}, {"tileset", "A.TIL"}, {"chunks", chunks}};
    EXPECT_EQ(Info(map, false), whole.dump() + "\n");
    EXPECT_EQ(Info(map, true), whole.dump(2) + "\n");

    // A map of no chunks at all.
    const Bytes empty = {'F', 'O', 'R', 'M', 0, 0, 0, 12, 'Z', 'M', 'A', 'P'};
    std::ofstream(WorkDir() / "empty.map", std::ios::binary)
        .write(reinterpret_cast<const char*>(empty.data()), std::streamsize(empty.size()));
    const Json none = {{"type", "map"},  {"width", 0},    {"height", 0},
                       {"cellWords", 0}, {"tileset", ""}, {"chunks", Json::array()}};
    EXPECT_EQ(Info(WorkDir() / "empty.map", false), none.dump() + "\n");
    EXPECT_EQ(Info(WorkDir() / "empty.map", true), none.dump(2) + "\n");
}

TEST(MaptoolInfo, MapsOfManyChunksNeedLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address space limit and AddressSanitizer do not go together";
#endif
    // 400000 chunks in 3 MB, then 512 MB of zeros: info and dump run within
    // 100 MB of address space; keeping the chunks took more than twice that.
    const fs::path map = WriteMap("many.map", 400000, uint64_t(512) << 20);
    const fs::path out = WorkDir() / "out.txt";
    for (const char* command : {"info", "dump"}) {
        const std::string line = "ulimit -v 100000; '" + std::string(MAPTOOL_EXE) + "' " + command +
                                 " '" + map.string() + "' >'" + out.string() + "' 2>&1";
        const int status = std::system(line.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), 0) << command;
    }
    std::ifstream dump(out);
    std::string first;
    std::getline(dump, first);
    EXPECT_EQ(first, "0 0 1799 1799 1799 1799 1799 1799");
}
