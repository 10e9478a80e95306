#include "maprun/core/sprite.h"

#include "formats/pbm.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace maprun {

namespace {

// Builds a record in a buffer that grows with what is written.
class RecordWriter {
public:
    void Reserve(size_t bytes) { bytes_.reserve(bytes); }
    size_t Position() const { return bytes_.size(); }
    void Put32(int32_t value) {
        const size_t at = bytes_.size();
        bytes_.resize(at + 4);
        Patch32(at, value);
    }
    void PutBytes(const uint8_t* bytes, size_t n) { bytes_.insert(bytes_.end(), bytes, bytes + n); }
    void PutZeros(size_t n) { bytes_.resize(bytes_.size() + n, 0); }
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

// The part of the image that holds pixels: its width by the rows its data
// reached. Everything outside reads as 0, as the image's pixel reads give it.
// Positions count in 64 bits so that a rectangle ending at INT_MAX still ends.
struct HeldArea {
    explicit HeldArea(const formats::TPBMImage& image) {
        if (image.Width() <= 0) return;
        width = image.Width();
        rows = std::min<int64_t>(int64_t(image.Pixels.size() / size_t(width)), image.Height());
        pixels = image.Pixels.data();
    }
    bool HoldsRow(int64_t y) const { return y >= 0 && y < rows; }
    const uint8_t* Row(int64_t y) const { return pixels + y * width; }

    int64_t width = 0;
    int64_t rows = 0;
    const uint8_t* pixels = nullptr;
};

// Only the pixels the image holds are looked at: a rectangle reaching past
// them has zeros there, however large it is.
PixelSurvey Survey(const TRect& r, const HeldArea& held) {
    PixelSurvey s;
    const int64_t left = std::max<int64_t>(r.Left, 0),
                  right = std::min<int64_t>(r.Right, held.width - 1);
    const int64_t top = std::max<int64_t>(r.Top, 0),
                  bottom = std::min<int64_t>(r.Bottom, held.rows - 1);
    s.anyZero = left != r.Left || right != r.Right || top != r.Top || bottom != r.Bottom;
    for (int64_t y = top; y <= bottom; ++y) {
        const uint8_t* row = held.Row(y);
        for (int64_t x = left; x <= right; ++x) {
            const uint8_t p = row[x];
            s.anyZero |= p == 0;
            s.anyNonZero |= p != 0;
            s.anyShade |= p >= 2 && p <= 15;
        }
    }
    return s;
}

void EncodeRow(const TRect& r, int64_t y, const HeldArea& held, RecordWriter& out) {
    const size_t rowStart = out.Position();
    out.Put32(0);
    out.Put32(0);
    out.Put32(0);
    int32_t firstX = -1, lastX = 0;
    bool inRun = false;
    int32_t gap = 0, runLength = 0;
    int64_t runStart = 0;
    const uint8_t* row = held.HoldsRow(y) ? held.Row(y) : nullptr;

    auto finishRun = [&] {
        lastX = static_cast<int32_t>(runStart + runLength - 1);
        out.Put32(runLength);
        // The filler bytes are whatever the image holds after the run, never drawn.
        const int64_t padded = (runLength + 3) & ~3;
        const int64_t inside = std::min(padded, held.width - runStart);
        out.PutBytes(row + runStart, size_t(inside));
        out.PutZeros(size_t(padded - inside));
        inRun = false;
    };

    // Columns left of the image are a gap; right of it, or in a row it does not
    // hold, nothing would be written but the row's end.
    const int64_t from = std::max<int64_t>(r.Left, 0);
    const int64_t to = row ? std::min<int64_t>(r.Right, held.width - 1) : from - 1;
    if (to >= from) gap = static_cast<int32_t>(from - r.Left);
    for (int64_t x = from; x <= to; ++x) {
        const bool opaque = row[x] > 1;
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

    const HeldArea held(image);
    const PixelSurvey survey = Survey(rect, held);
    if (!survey.anyNonZero) return nullptr;

    SpriteKind kind = survey.anyShade   ? SpriteKind::Shaded
                      : !survey.anyZero ? SpriteKind::Solid
                                        : SpriteKind::Transparent;
    // Room for the largest record a tile can make (a run of one pixel in every
    // other column), so that it is built without growing; larger rectangles grow.
    RecordWriter out;
    const int64_t rowBound = int64_t(kRowHeaderSize + kSpanHeaderSize) + 6 * (width + 1);
    out.Reserve(size_t(std::min<int64_t>(kSpriteHeaderSize + height * rowBound, 64 * 1024)));
    out.Put32(static_cast<int32_t>(width));
    out.Put32(static_cast<int32_t>(height));
    out.Put32(0);
    out.Put32(0);
    const uint8_t kindAndReserved[4] = {static_cast<uint8_t>(kind), 0, 0, 0};
    out.PutBytes(kindAndReserved, 4);
    for (int64_t y = rect.Top; y <= rect.Bottom; ++y)
        EncodeRow(rect, y, held, out);
    return out.Finish();
}

SpriteRecord LoadSprite(const std::filesystem::path& fileName) {
    formats::TPBMImage image(fileName);
    return MakeSprite(image, TRect{0, 0, image.Width() - 1, image.Height() - 1});
}

} // namespace maprun
