// The PNG reader of maptool encode: interlaced and plain files give the same
// indices, and memory follows the rows a file really holds, not the size its
// header announces. The largest single allocation is noted by this program's
// own operator new.
#include "maptool/failure.h"
#include "maptool/png_io.h"
#include "png_test_util.h"

#include "formats/stream.h"
#include "formats/tests/scratch_dir.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

namespace {

std::atomic<size_t> gLargestAllocation{0};

} // namespace

void* operator new(size_t size) {
    size_t largest = gLargestAllocation.load();
    while (size > largest && !gLargestAllocation.compare_exchange_weak(largest, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// GCC takes the free below for a mismatch with the operator new above.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace {

namespace fs = std::filesystem;

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

// An 8-bit palette PNG announcing width x height whose image data holds only
// `dataBytes` filtered bytes (all 0), so reading it ends with an error.
std::vector<uint8_t> ShortPng(uint32_t width, uint32_t height, bool interlaced, size_t dataBytes) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    PutBig32(ihdr, width);
    PutBig32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, PNG_COLOR_TYPE_PALETTE, 0, 0, uint8_t(interlaced ? 1 : 0)});
    PutChunk(out, "IHDR", ihdr);
    PutChunk(out, "PLTE", {0, 0, 0, 255, 255, 255});
    const std::vector<uint8_t> raw(dataBytes, 0);
    std::vector<uint8_t> packed(compressBound(uLong(raw.size())));
    uLongf packedSize = uLongf(packed.size());
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    PutChunk(out, "IDAT", packed);
    return out;
}

} // namespace

TEST(PngRead, InterlacedAndPlainFilesGiveTheSameIndicesAtEveryDepth) {
    const fs::path dir = testing_support::ScratchDir("zorv_png_io_");
    std::mt19937 random(7);
    // Narrow and short pictures leave some of the seven passes empty; the
    // largest needs its memory grown many times.
    const std::pair<int, int> sizes[] = {{1, 1},  {2, 3},  {5, 1},    {1, 9},
                                         {9, 17}, {33, 8}, {301, 257}};
    for (int depth : {1, 2, 4, 8}) {
        std::vector<uint8_t> rgb;
        for (int i = 0; i < (1 << depth); ++i)
            rgb.insert(rgb.end(), {uint8_t(i), uint8_t(3 * i), uint8_t(255 - i)});
        for (auto [width, height] : sizes) {
            std::vector<uint8_t> indices(size_t(width) * height);
            for (uint8_t& index : indices)
                index = uint8_t(random() % (1u << depth));
            for (bool interlaced : {false, true}) {
                SCOPED_TRACE(testing::Message() << width << " x " << height << " depth " << depth
                                                << (interlaced ? " interlaced" : ""));
                const std::string file = (dir / "picture.png").string();
                ASSERT_TRUE(WriteTestPng(file, width, height, PNG_COLOR_TYPE_PALETTE, depth,
                                         indices, rgb, interlaced));
                const maptool::IndexedPicture picture = maptool::ReadIndexedPng(file);
                EXPECT_EQ(picture.width, width);
                EXPECT_EQ(picture.height, height);
                EXPECT_EQ(picture.pixels, indices);
                EXPECT_EQ(picture.rgb, rgb);
            }
        }
    }
}

TEST(PngRead, MemoryFollowsTheRowsTheFileHoldsNotTheAnnouncedSize) {
    // 8192 x 8192 announced: 64 MB of pixels that the data never fills.
    struct Case {
        bool interlaced;
        size_t dataBytes;
    } cases[] = {{false, 0}, {false, 40 * 8193}, {true, 0}, {true, 40 * 1025}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.interlaced ? "interlaced, " : "plain, ")
                                        << c.dataBytes << " bytes of image data");
        const std::vector<uint8_t> bytes = ShortPng(8192, 8192, c.interlaced, c.dataBytes);
        formats::MemoryStream stream(bytes.data(), bytes.size());
        gLargestAllocation = 0;
        try {
            maptool::ReadIndexedPng(stream, "short.png");
            ADD_FAILURE() << "a file without its image data was read";
        } catch (const maptool::Failure& e) {
            EXPECT_EQ(std::string(e.what()).rfind("short.png: ", 0), 0u) << e.what();
        }
        EXPECT_LT(gLargestAllocation.load(), size_t(1) << 20);
    }
}
