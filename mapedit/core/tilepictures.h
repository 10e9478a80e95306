#pragma once
// The pictures of one tile set load. A tile set may name one picture on many
// lines, and a picture of millions of pixels can be stored in a few kilobytes,
// so each picture is decoded once per load and its name resolved once.
#include "formats/pbm.h"
#include "mapedit/core/colourtable.h"
#include "mapedit/core/dibsurface.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace mapedit {

class TTilePictures {
public:
    // Decoded pixels kept at most: two of the largest pictures.
    static constexpr uint64_t kDefaultBudget = 2 * uint64_t(kMaxSurfacePixels);

    // Names are looked for in the current directory, then in `tileSetDir`.
    // Colour maps go to `colours`; `progress` runs while a picture decodes.
    TTilePictures(std::filesystem::path tileSetDir, TColourTable& colours,
                  formats::ProgressCallback progress = {}, uint64_t budgetBytes = kDefaultBudget);

    // The picture `name` stands for. Its colour map, if it has one, replaces the
    // colours each time it is asked for, as reading it again would, so the last
    // picture named still decides the colours. Raises what decoding raises
    // (EFOpenError, EInOutError, EInvalidGraphic); failures are not kept.
    // Pictures least recently asked for are dropped to stay within the budget.
    std::shared_ptr<const TDIB> Load(const std::string& name);

private:
    using Colours = std::array<uint8_t, 768>;
    struct Entry {
        std::shared_ptr<const TDIB> surface;
        std::optional<Colours> colours;
        uint64_t lastUse = 0;
    };

    const std::filesystem::path& Resolve(const std::string& name);
    Entry Decode(const std::filesystem::path& path);
    void MakeRoomFor(uint64_t bytes);

    std::filesystem::path tileSetDir_;
    TColourTable& colours_;
    formats::ProgressCallback progress_;
    uint64_t budget_;
    uint64_t heldBytes_ = 0;
    uint64_t useClock_ = 0;
    std::map<std::string, std::filesystem::path> paths_;
    std::map<std::filesystem::path, Entry> pictures_;
};

} // namespace mapedit
