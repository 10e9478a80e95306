#include "demogen/generate.h"

namespace demo {

std::vector<std::string> GenerateDemo(const std::filesystem::path& outDir) {
    std::filesystem::create_directories(outDir);
    std::vector<std::string> written = WriteTileSet(outDir);
    written.push_back(WriteTilePaletteFile(outDir));
    written.push_back(WriteTestPicture(outDir));
    written.push_back(WriteSmileSprite(outDir));
    written.push_back(WriteDemoMap(outDir));
    return written;
}

} // namespace demo
