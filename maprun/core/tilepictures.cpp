#include "maprun/core/tilepictures.h"

#include "formats/dospath.h"
#include "formats/errors.h"

namespace maprun {

namespace fs = std::filesystem;

TTilePictures::TTilePictures(fs::path dir, formats::ProgressCallback progress, uint64_t budgetBytes)
    : dir_(std::move(dir)), progress_(std::move(progress)), budget_(budgetBytes) {}

const fs::path& TTilePictures::Resolve(const std::string& name) {
    auto found = paths_.find(name);
    if (found == paths_.end())
        found = paths_.emplace(name, formats::DosNameToPath(dir_, name)).first;
    return found->second;
}

void TTilePictures::MakeRoomFor(uint64_t bytes) {
    while (heldBytes_ + bytes > budget_) {
        auto oldest = pictures_.end();
        for (auto it = pictures_.begin(); it != pictures_.end(); ++it)
            if (it->second.picture &&
                (oldest == pictures_.end() || it->second.lastUse < oldest->second.lastUse))
                oldest = it;
        if (oldest == pictures_.end()) return;
        heldBytes_ -= oldest->second.picture->Pixels.size();
        pictures_.erase(oldest);
    }
}

std::shared_ptr<const formats::TPBMImage> TTilePictures::Get(const std::string& name) {
    const fs::path& path = Resolve(name);
    if (auto it = pictures_.find(path); it != pictures_.end()) {
        it->second.lastUse = ++useClock_;
        return it->second.picture;
    }
    std::shared_ptr<const formats::TPBMImage> picture;
    try {
        picture = std::make_shared<const formats::TPBMImage>(path, progress_);
    } catch (const formats::FormatError&) {
        // Not openable or not a picture: every line naming it is skipped.
    }
    const uint64_t bytes = picture ? picture->Pixels.size() : 0;
    MakeRoomFor(bytes);
    if (heldBytes_ + bytes <= budget_) {
        pictures_[path] = Entry{picture, ++useClock_};
        heldBytes_ += bytes;
    }
    return picture;
}

} // namespace maprun
