#include "mapedit/core/tilepictures.h"

#include "formats/dospath.h"
#include "formats/errors.h"
#include "formats/stream.h"

#include <algorithm>

namespace mapedit {

namespace fs = std::filesystem;

namespace {

// Decodes into a surface and notes the colour map on the way; the colours take
// effect at once, as a plain load into a surface gives them.
class RecordingTarget : public formats::PbmSurfaceTarget {
public:
    RecordingTarget(TDIB& surface, TColourTable& colours) : surface_(surface), colours_(colours) {}

    // The surface gets only the rows the picture's data can reach: tiles are
    // cut from it by clipped copies into cleared tiles, so the rows below read
    // as colour 0 either way, and a picture that announces millions of pixels
    // costs what its data can fill.
    void LimitRows(int rows) override { rows_ = rows; }
    void SetPictureSize(int width, int height) override {
        surface_.SetPictureSize(width, std::min(height, rows_));
    }
    void SetPictureColours(const uint8_t (&rgb)[768]) override {
        colours_.SetColours(rgb);
        std::array<uint8_t, 768>& kept = seen.emplace();
        std::copy(std::begin(rgb), std::end(rgb), kept.begin());
    }
    uint8_t* PictureRow(int y) override { return surface_.PictureRow(y); }

    std::optional<std::array<uint8_t, 768>> seen;

private:
    TDIB& surface_;
    TColourTable& colours_;
    int rows_ = 0;
};

} // namespace

TTilePictures::TTilePictures(fs::path tileSetDir, TColourTable& colours,
                             formats::ProgressCallback progress, uint64_t budgetBytes)
    : tileSetDir_(std::move(tileSetDir)), colours_(colours), progress_(std::move(progress)),
      budget_(budgetBytes) {}

// Picture names stand as written in the tile set, upper-cased: look in the
// current directory first, then beside the tile set file.
const fs::path& TTilePictures::Resolve(const std::string& name) {
    if (auto known = paths_.find(name); known != paths_.end()) return known->second;
    std::error_code ec;
    std::optional<fs::path> found = formats::ResolveDosName(fs::current_path(ec), name);
    if (!found) found = formats::ResolveDosName(tileSetDir_, name);
    // Not found in either place: the name as it stands, for the open to report.
    if (!found) found = formats::DosNameAsPath(fs::path("."), name);
    return paths_.emplace(name, *found).first->second;
}

TTilePictures::Entry TTilePictures::Decode(const fs::path& path) {
    auto surface = std::make_shared<TDIB>(0, 0);
    RecordingTarget target(*surface, colours_);
    formats::WithFileName(path, [&] {
        formats::FileStream stream(path);
        formats::LoadPbmIntoSurface(stream, target, progress_);
    });
    return Entry{std::move(surface), target.seen, 0};
}

void TTilePictures::MakeRoomFor(uint64_t bytes) {
    while (!pictures_.empty() && heldBytes_ + bytes > budget_) {
        auto oldest =
            std::min_element(pictures_.begin(), pictures_.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            });
        const TDIB& dropped = *oldest->second.surface;
        heldBytes_ -= uint64_t(dropped.Width()) * uint64_t(dropped.Height());
        pictures_.erase(oldest);
    }
}

std::shared_ptr<const TDIB> TTilePictures::Load(const std::string& name) {
    const fs::path& path = Resolve(name);
    if (auto it = pictures_.find(path); it != pictures_.end()) {
        Entry& entry = it->second;
        entry.lastUse = ++useClock_;
        if (entry.colours) {
            uint8_t rgb[768];
            std::copy(entry.colours->begin(), entry.colours->end(), rgb);
            colours_.SetColours(rgb);
        }
        return entry.surface;
    }
    Entry entry = Decode(path);
    const uint64_t bytes = uint64_t(entry.surface->Width()) * uint64_t(entry.surface->Height());
    MakeRoomFor(bytes);
    std::shared_ptr<const TDIB> surface = entry.surface;
    if (heldBytes_ + bytes <= budget_) {
        entry.lastUse = ++useClock_;
        pictures_.emplace(path, std::move(entry));
        heldBytes_ += bytes;
    }
    return surface;
}

} // namespace mapedit
