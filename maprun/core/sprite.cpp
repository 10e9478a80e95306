#include "maprun/core/sprite.h"

#include "formats/pbm.h"

#include <climits>
#include <cstring>
#include <vector>

namespace maprun {

namespace {

// Builds a record in a buffer that grows with what is written.
class RecordWriter {
public:
    size_t Position() const { return bytes_.size(); }
    void Put32(int32_t value) {
        auto v = static_cast<uint32_t>(value);
        const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
        bytes_.insert(bytes_.end(), b, b + 4);
    }
    void PutByte(uint8_t value) { bytes_.push_back(value); }
    void Patch32(size_t at, int32_t value) {
        auto v = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes_[at + i] = uint8_t(v >> (8 * i));
    }
    SpriteRecord Finish() const {
        SpriteRecord record(new uint8_t[bytes_.size()]);
        std::memcpy(record.get(), bytes_.data(), bytes_.size());
        return record;
    }

private:
    std::vector<uint8_t> bytes_;
};

struct PixelSurvey {
    bool anyZero = false;
    bool anyNonZero = false;
    bool anyShade = false; // a value from 2 to 15
};

// Pixels outside the image (and outside the range of int) read as 0. The loops
// count in 64 bits so that a rectangle ending at INT_MAX still ends.
uint8_t PixelAt(const formats::TPBMImage& image, int64_t x, int64_t y) {
    if (x < INT_MIN || x > INT_MAX || y < INT_MIN || y > INT_MAX) return 0;
    return image.GetPixel(static_cast<int>(x), static_cast<int>(y));
}

PixelSurvey Survey(const formats::TPBMImage& image, const TRect& r) {
    PixelSurvey s;
    for (int64_t y = r.Top; y <= r.Bottom; ++y)
        for (int64_t x = r.Left; x <= r.Right; ++x) {
            uint8_t p = PixelAt(image, x, y);
            if (p == 0)
                s.anyZero = true;
            else
                s.anyNonZero = true;
            if (p >= 2 && p <= 15) s.anyShade = true;
        }
    return s;
}

void EncodeRow(const formats::TPBMImage& image, const TRect& r, int64_t y, RecordWriter& out) {
    const size_t rowStart = out.Position();
    out.Put32(0);
    out.Put32(0);
    out.Put32(0);
    int32_t firstX = -1, lastX = 0;
    bool inRun = false;
    int32_t gap = 0, runLength = 0;
    int64_t runStart = 0;

    auto finishRun = [&] {
        lastX = static_cast<int32_t>(runStart + runLength - 1);
        out.Put32(runLength);
        // The filler bytes are whatever the image holds after the run, never drawn.
        const int padded = (runLength + 3) & ~3;
        for (int i = 0; i < padded; ++i)
            out.PutByte(PixelAt(image, runStart + i, y));
        inRun = false;
    };

    for (int64_t x = r.Left; x <= r.Right; ++x) {
        uint8_t p = PixelAt(image, x, y);
        bool opaque = p > 1;
        if (!inRun) {
            if (!opaque) {
                ++gap;
                continue;
            }
            out.Put32(gap);
            inRun = true;
            runStart = x;
            runLength = 1;
            if (firstX == -1) firstX = static_cast<int32_t>(x);
        } else if (opaque) {
            ++runLength;
        } else {
            finishRun();
            gap = 1;
        }
    }
    if (inRun) finishRun();
    out.Put32(0);
    out.Put32(0);
    out.Patch32(rowStart, static_cast<int32_t>(out.Position() - rowStart));
    out.Patch32(rowStart + 4, firstX);
    out.Patch32(rowStart + 8, lastX);
}

} // namespace

size_t SpriteSize(const uint8_t* sprite) {
    const uint8_t* row = FirstSpriteRow(sprite);
    for (int32_t y = 0; y < SpriteHeight(sprite); ++y)
        row += ReadLE32(row);
    return static_cast<size_t>(row - sprite);
}

bool IsPlainBlock(const uint8_t* sprite) {
    if (GetSpriteKind(sprite) == SpriteKind::Shaded) return false; // shades, not copies
    const int32_t width = SpriteWidth(sprite);
    const uint8_t* row = FirstSpriteRow(sprite);
    for (int32_t y = 0; y < SpriteHeight(sprite); ++y, row += ReadLE32(row)) {
        const uint8_t* span = row + kRowHeaderSize;
        if (ReadLE32(row) != BlockRowSize(width) || ReadLE32(span) != 0 ||
            ReadLE32(span + 4) != width)
            return false;
    }
    return width > 0;
}

SpriteRecord MakeSprite(const formats::TPBMImage& image, const TRect& rect) {
    const int64_t width = int64_t(rect.Right) - rect.Left + 1;
    const int64_t height = int64_t(rect.Bottom) - rect.Top + 1;
    if (width <= 0 || height <= 0 || width > kMaxSpriteSide || height > kMaxSpriteSide)
        return nullptr;

    const PixelSurvey survey = Survey(image, rect);
    if (!survey.anyNonZero) return nullptr;

    SpriteKind kind = survey.anyShade   ? SpriteKind::Shaded
                      : !survey.anyZero ? SpriteKind::Solid
                                        : SpriteKind::Transparent;
    RecordWriter out;
    out.Put32(static_cast<int32_t>(width));
    out.Put32(static_cast<int32_t>(height));
    out.Put32(0);
    out.Put32(0);
    out.PutByte(static_cast<uint8_t>(kind));
    out.PutByte(0);
    out.PutByte(0);
    out.PutByte(0);
    for (int64_t y = rect.Top; y <= rect.Bottom; ++y)
        EncodeRow(image, rect, y, out);
    return out.Finish();
}

SpriteRecord LoadSprite(const std::filesystem::path& fileName) {
    formats::TPBMImage image(fileName);
    return MakeSprite(image, TRect{0, 0, image.Width() - 1, image.Height() - 1});
}

} // namespace maprun
