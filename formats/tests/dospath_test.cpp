#include "formats/dospath.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace formats;
namespace fs = std::filesystem;

TEST(DosNames, ResolvesEachComponentIgnoringCase) {
    fs::path root = fs::temp_directory_path() / ("zorv_dos_" + std::to_string(::getpid()));
    fs::create_directories(root / "Tiles");
    std::ofstream(root / "Tiles" / "grass.pbm") << "x";
    std::ofstream(root / "Exact.til") << "x";

    EXPECT_EQ(ResolveDosName(root, "TILES\\GRASS.PBM"), root / "Tiles" / "grass.pbm");
    EXPECT_EQ(ResolveDosName(root, "tiles/Grass.PBM"), root / "Tiles" / "grass.pbm");
    EXPECT_EQ(ResolveDosName(root, "Exact.til"), root / "Exact.til");
    EXPECT_FALSE(ResolveDosName(root, "TILES\\MISSING.PBM"));
    EXPECT_FALSE(ResolveDosName(root, "NOPE\\GRASS.PBM"));
    EXPECT_FALSE(ResolveDosName(root, ""));
    // Full paths are used as they stand.
    std::string full = (root / "Tiles" / "GRASS.PBM").string();
    EXPECT_EQ(ResolveDosName("/elsewhere", full), root / "Tiles" / "grass.pbm");
    EXPECT_EQ(DosNameToPath(root, "SUB\\NEW.MAP"), root / "SUB/NEW.MAP");
    fs::remove_all(root);
}
