#include "formats/dospath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

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

// Names that differ only in case: the exact name wins, otherwise the byte-wise
// smallest, whichever order the entries were made (and so are listed) in.
TEST(DosNames, ChoosesAmongNamesDifferingOnlyInCaseByTheirBytes) {
    const fs::path root =
        fs::temp_directory_path() / ("zorv_dos_case_" + std::to_string(::getpid()));
    const std::vector<std::vector<std::string>> groups = {{"sheet.pbm", "Sheet.PBM"},
                                                          {"tile.PBM", "TILE.pbm"},
                                                          {"a.til", "A.til", "a.TIL"},
                                                          {"xY", "Xy"},
                                                          {"mAp", "MaP"}};
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "made in reverse order" : "made in order");
        const fs::path dir = root / (reversed ? "reversed" : "ordered");
        fs::create_directories(dir / "Pics");
        fs::create_directories(dir / "pics");
        std::ofstream(dir / "pics" / "only.txt") << "x";
        for (std::vector<std::string> names : groups) {
            if (reversed) std::reverse(names.begin(), names.end());
            for (const std::string& name : names) {
                std::ofstream(dir / name) << name;
                std::ofstream(dir / "Pics" / name) << name;
            }
        }
        EXPECT_EQ(ResolveDosName(dir, "SHEET.PBM"), dir / "Sheet.PBM");
        EXPECT_EQ(ResolveDosName(dir, "sheet.pbm"), dir / "sheet.pbm"); // exact
        EXPECT_EQ(ResolveDosName(dir, "Tile.Pbm"), dir / "TILE.pbm");
        EXPECT_EQ(ResolveDosName(dir, "A.TIL"), dir / "A.til");
        EXPECT_EQ(ResolveDosName(dir, "a.TIL"), dir / "a.TIL"); // exact
        EXPECT_EQ(ResolveDosName(dir, "XY"), dir / "Xy");
        EXPECT_EQ(ResolveDosName(dir, "map"), dir / "MaP");
        // Folders too: "Pics" is chosen for PICS, and the name inside it after.
        EXPECT_EQ(ResolveDosName(dir, "PICS\\TILE.PBM"), dir / "Pics" / "TILE.pbm");
        EXPECT_EQ(DosNameToPath(dir, "pics\\ONLY.TXT"), dir / "pics" / "only.txt");
    }
    fs::remove_all(root);
}
