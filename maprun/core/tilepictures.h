#pragma once
// The pictures of one tile set load. A tile set may name one picture on many
// lines, and a picture of millions of pixels can be stored in a few kilobytes,
// so each picture is decoded once per load and its name resolved once.
#include "formats/pbm.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace maprun {

class TTilePictures {
public:
    // Decoded pixels kept at most: two of the largest pictures.
    static constexpr uint64_t kDefaultBudget = 2 * formats::kMaxPicturePixels;

    // Names are resolved beside `dir`; `progress` runs while a picture decodes.
    explicit TTilePictures(std::filesystem::path dir, formats::ProgressCallback progress = {},
                           uint64_t budgetBytes = kDefaultBudget);

    // The picture a tile set line names; null when it cannot be opened or is
    // not a readable picture (remembered too, so a bad picture is tried once).
    // Pictures least recently asked for are dropped to stay within the budget.
    std::shared_ptr<const formats::TPBMImage> Get(const std::string& name);

private:
    struct Entry {
        std::shared_ptr<const formats::TPBMImage> picture;
        uint64_t lastUse = 0;
    };

    const std::filesystem::path& Resolve(const std::string& name);
    void MakeRoomFor(uint64_t bytes);

    std::filesystem::path dir_;
    formats::ProgressCallback progress_;
    uint64_t budget_;
    uint64_t heldBytes_ = 0;
    uint64_t useClock_ = 0;
    std::map<std::string, std::filesystem::path> paths_;
    std::map<std::filesystem::path, Entry> pictures_;
};

} // namespace maprun
