// Runs the three PBM decoders over arbitrary bytes. Targets check every row and
// pixel they are handed against the picture's size; each surface row is its own
// allocation of exactly the picture's width, so a sanitizer sees any overrun.
// The surface must be sized at most once a load: repeated headers may not
// make it re-create its pixel memory, and no row past the limit the decoder
// gave may be asked for. (Its rows are made as they are asked for; with one
// allocation a row of every width the sanitizer's allocator would keep far
// more memory than the decoders take.) The image may hold no more rows than
// the picture has, and no more than its data can reach.
#include "asan_options.h"
#include "formats/pbm.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class CheckedSurface : public formats::PbmSurfaceTarget {
public:
    void LimitRows(int rows) override {
        if (rows < 0 || sizeCalls_ > 0) std::abort(); // before the size is set
        limit_ = rows;
    }
    void SetPictureSize(int width, int height) override {
        if (width < 0 || height < 0 || uint64_t(width) * height > formats::kMaxPicturePixels)
            std::abort();
        if (++sizeCalls_ > 1 || limit_ < 0 || limit_ > height) std::abort(); // sized once a load
        width_ = width;
        rows_.clear();
        rows_.resize(size_t(limit_));
    }
    void SetPictureColours(const uint8_t (&rgb)[768]) override { colours_ = rgb[767]; }
    uint8_t* PictureRow(int y) override {
        if (y < 0 || size_t(y) >= rows_.size() || width_ == 0) std::abort();
        if (!rows_[y]) rows_[y] = std::make_unique<uint8_t[]>(size_t(width_));
        return rows_[y].get();
    }

private:
    int width_ = 0;
    int limit_ = -1;
    int sizeCalls_ = 0;
    uint8_t colours_ = 0;
    std::vector<std::unique_ptr<uint8_t[]>> rows_;
};

void CheckPixel(int x, int y) {
    const formats::BitmapHeader& h = formats::LastPBMHeader;
    if (x < 0 || y < 0 || x >= h.w || y >= h.h) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int progressCalls = 0;
    auto progress = [&progressCalls] { ++progressCalls; };
    try {
        formats::MemoryStream stream(data, size);
        formats::DrawPBMStream(
            stream, [](int x, int y, uint8_t) { CheckPixel(x, y); }, progress);
    } catch (const formats::FormatError&) {
    }
    try {
        formats::MemoryStream stream(data, size);
        formats::TPBMImage image;
        image.LoadFromStream(stream, progress);
        const size_t w = size_t(image.Width());
        if (image.Pixels.size() > w * image.Height() || (w && image.Pixels.size() % w))
            std::abort();
        if (w && image.Pixels.size() / w > 1 + size / 2) std::abort(); // 2 bytes a row at least
        image.SetPixel(image.Width(), 0, 1);
        (void)image.GetPixel(-1, image.Height());
    } catch (const formats::FormatError&) {
    }
    try {
        formats::MemoryStream stream(data, size);
        CheckedSurface surface;
        formats::LoadPbmIntoSurface(stream, surface, progress);
    } catch (const formats::FormatError&) {
    }
    return 0;
}
