#include "formats/pbm.h"

#include "formats/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <random>
#include <string>
#include <unistd.h>

using namespace formats;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kUntouched = 0xEE;

// Assembles a FORM of type "PBM " chunk by chunk.
class PbmBuilder {
public:
    PbmBuilder() {
        Id("FORM");
        Long(0);
        Id("PBM ");
    }
    PbmBuilder& Chunk(const char* id, const Bytes& data) {
        Id(id);
        Long(uint32_t(data.size()));
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        if (bytes_.size() & 1) bytes_.push_back(0);
        return *this;
    }
    PbmBuilder& Header(int w, int h, uint8_t compression = 1) {
        Bytes b(20, 0);
        b[0] = uint8_t(w >> 8), b[1] = uint8_t(w);
        b[2] = uint8_t(h >> 8), b[3] = uint8_t(h);
        b[8] = 8, b[10] = compression;
        b[16] = 0x80, b[17] = 0x01; // pageWidth -32767: signed field
        return Chunk("BMHD", b);
    }
    Bytes Done() const {
        Bytes out = bytes_;
        uint32_t n = uint32_t(out.size());
        for (int i = 0; i < 4; ++i)
            out[4 + i] = uint8_t(n >> (24 - 8 * i));
        return out;
    }

private:
    void Id(const char* id) {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(uint8_t(id[i]));
    }
    void Long(uint32_t v) {
        for (int s = 24; s >= 0; s -= 8)
            bytes_.push_back(uint8_t(v >> s));
    }
    Bytes bytes_;
};

Bytes Picture(int w, int h, const Bytes& body, uint8_t compression = 1) {
    return PbmBuilder().Header(w, h, compression).Chunk("BODY", body).Done();
}

// A surface that starts every picture with a marker value and records rows asked for.
class TestSurface : public PbmSurfaceTarget {
public:
    void SetPictureSize(int w, int h) override {
        width = w, height = h, ++sizeCalls;
        pixels.assign(size_t(w) * h, kUntouched);
    }
    void SetPictureColours(const uint8_t (&rgb)[768]) override { std::memcpy(colours, rgb, 768); }
    uint8_t* PictureRow(int y) override {
        lastRow = y;
        return pixels.data() + size_t(y) * width;
    }
    int width = 0, height = 0, sizeCalls = 0, lastRow = -1;
    Bytes pixels;
    uint8_t colours[768];
};

// The image's picture as its pixel reads give it: rows its data did not
// reach read as 0.
Bytes WholePicture(const TPBMImage& image) {
    Bytes all;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            all.push_back(image.GetPixel(x, y));
    return all;
}

struct Decoded {
    Bytes editor, image, drawn;
    int drawCalls = 0;
};

// Runs all three decoders over the same bytes.
Decoded DecodeAll(const Bytes& file) {
    Decoded d;
    MemoryStream s1(file);
    TestSurface surface;
    LoadPbmIntoSurface(s1, surface);
    d.editor = surface.pixels;

    MemoryStream s2(file);
    TPBMImage image;
    image.LoadFromStream(s2);
    d.image = WholePicture(image);

    MemoryStream s3(file);
    DrawPBMStream(s3, [&](int x, int y, uint8_t c) {
        if (d.drawn.empty()) d.drawn.assign(size_t(LastPBMHeader.w) * LastPBMHeader.h, kUntouched);
        d.drawn.at(size_t(y) * LastPBMHeader.w + x) = c;
        ++d.drawCalls;
    });
    return d;
}

template <class E> std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

std::string EditorError(const Bytes& file) {
    return ErrorOf<EInvalidGraphic>([&] {
        MemoryStream s(file);
        TestSurface t;
        LoadPbmIntoSurface(s, t);
    });
}
std::string ImageError(const Bytes& file) {
    return ErrorOf<EIffLoader>([&] {
        MemoryStream s(file);
        TPBMImage().LoadFromStream(s);
    });
}
std::string DrawError(const Bytes& file) {
    return ErrorOf<EIffLoader>([&] {
        MemoryStream s(file);
        DrawPBMStream(s, [](int, int, uint8_t) {});
    });
}

// Per pixel, the plain reading of ByteRun1 rows that every decoder must match.
Bytes ReferenceDecode(const Bytes& body, int w, int h, bool clearEveryOne, uint8_t untouched) {
    Bytes out(size_t(w) * h, untouched);
    size_t i = 0;
    for (int y = 0; y < h && i < body.size(); ++y) {
        int x = 0;
        while (x < w && i < body.size()) {
            int n = int8_t(body[i++]);
            if (n < 0) {
                if (i == body.size()) break;
                uint8_t v = body[i++];
                for (int k = 0; k < 1 - n; ++k, ++x)
                    if (x < w) out[size_t(y) * w + x] = v == 1 ? 0 : v;
            } else {
                for (int k = 0; k <= n && i < body.size(); ++k, ++x) {
                    uint8_t v = body[i++];
                    if (x < w) out[size_t(y) * w + x] = clearEveryOne && v == 1 ? 0 : v;
                }
            }
        }
        if (x < w) break;
    }
    return out;
}

// Rows of random runs: repeats of 2 to 129 (control byte -128 included),
// literals of 1 to 128 bytes, many 1s, runs crossing the row's end.
Bytes RandomBody(int w, int h, std::mt19937& rng) {
    Bytes body;
    auto colour = [&] {
        const uint8_t common[] = {0, 1, 1, 2, 255};
        return rng() % 2 ? common[rng() % 5] : uint8_t(rng());
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w;) {
            bool longRun = rng() % 6 == 0;
            int count = longRun ? 33 + int(rng() % 96) : 1 + int(rng() % 32);
            if (rng() % 2) {
                count = std::max(count + 1, 2);
                body.push_back(uint8_t(1 - count));
                body.push_back(colour());
            } else {
                count = std::min(count, 128);
                body.push_back(uint8_t(count - 1));
                for (int k = 0; k < count; ++k)
                    body.push_back(colour());
            }
            x += count;
        }
    }
    return body;
}

// Each row its own allocation with guard bytes behind it.
class GuardedSurface : public PbmSurfaceTarget {
public:
    static constexpr size_t kGuard = 64;
    void SetPictureSize(int w, int h) override {
        width = w;
        rows.assign(size_t(h), Bytes(size_t(w) + kGuard, kUntouched));
    }
    void SetPictureColours(const uint8_t (&)[768]) override {}
    uint8_t* PictureRow(int y) override { return rows.at(size_t(y)).data(); }
    bool GuardsIntact() const {
        for (const Bytes& r : rows)
            for (size_t i = size_t(width); i < r.size(); ++i)
                if (r[i] != kUntouched) return false;
        return true;
    }
    Bytes Pixels() const {
        Bytes all;
        for (const Bytes& r : rows)
            all.insert(all.end(), r.begin(), r.begin() + width);
        return all;
    }
    int width = 0;
    std::vector<Bytes> rows;
};

fs::path TempDir() {
    return testing_support::ScratchDir("zorv_pbm_");
}

} // namespace

TEST(PbmDecoders, ColourOneAndRunLengths) {
    // Literal 5, 1: the editor clears every 1, the runtime only in repeated runs.
    Decoded d = DecodeAll(Picture(2, 1, {1, 5, 1}));
    EXPECT_EQ(d.editor, (Bytes{5, 0}));
    EXPECT_EQ(d.image, (Bytes{5, 1}));
    EXPECT_EQ(d.drawn, (Bytes{5, 1}));

    // Repeated 1 becomes 0 everywhere.
    d = DecodeAll(Picture(4, 1, {0xFD, 1}));
    EXPECT_EQ(d.editor, Bytes(4, 0));
    EXPECT_EQ(d.image, Bytes(4, 0));
    EXPECT_EQ(d.drawn, Bytes(4, 0));

    // Control byte -128 repeats 129 times: a 130-wide row needs one more literal.
    Bytes want(129, 7);
    want.push_back(9);
    d = DecodeAll(Picture(130, 1, {0x80, 7, 0x00, 9}));
    EXPECT_EQ(d.editor, want);
    EXPECT_EQ(d.image, want);
    EXPECT_EQ(d.drawn, want);
    EXPECT_EQ(d.drawCalls, 130);

    // ... and is cut to a shorter row; the next row starts at the next control byte.
    d = DecodeAll(Picture(5, 2, {0x80, 7, 0xFC, 3}));
    EXPECT_EQ(d.image, (Bytes{7, 7, 7, 7, 7, 3, 3, 3, 3, 3}));
    EXPECT_EQ(d.editor, d.image);
    EXPECT_EQ(d.drawn, d.image);
}

TEST(PbmDecoders, RunsBeyondRowWidthAreDropped) {
    // 3 wide, each row one literal run of 4 bytes (3 pixels and a pad byte).
    Decoded d = DecodeAll(Picture(3, 2, {3, 10, 11, 12, 99, 3, 20, 21, 22, 98}));
    EXPECT_EQ(d.image, (Bytes{10, 11, 12, 20, 21, 22}));
    EXPECT_EQ(d.editor, d.image);
    EXPECT_EQ(d.drawn, d.image);
    EXPECT_EQ(d.drawCalls, 6);

    // A run that starts inside the row and ends past it.
    d = DecodeAll(Picture(3, 2, {0, 4, 0xFC, 8, 0xFF, 9, 0, 5}));
    EXPECT_EQ(d.image, (Bytes{4, 8, 8, 9, 9, 5}));

    // The shared row decoder on its own.
    const Bytes row = {1, 1, 2, 0xFE, 1};
    const uint8_t* src = row.data();
    uint8_t out[5] = {};
    EXPECT_TRUE(DecodeByteRun1Row(src, row.data() + row.size(), out, 5, ColourOneRule::EveryRun));
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{0, 2, 0, 0, 0}));
    EXPECT_EQ(src, row.data() + row.size());
    src = row.data();
    EXPECT_TRUE(DecodeByteRun1Row(src, row.data() + row.size(), out, 5, ColourOneRule::RepeatRuns));
    EXPECT_EQ(Bytes(out, out + 5), (Bytes{1, 2, 0, 0, 0}));
    src = row.data();
    EXPECT_FALSE(DecodeByteRun1Row(src, row.data() + 4, out, 5, ColourOneRule::RepeatRuns));
}

TEST(PbmDecoders, RawRowsHonouredByImageOnly) {
    const Bytes body = {1, 2, 3, 0, 4, 5, 1, 0};
    Bytes file = Picture(3, 2, body, 0);
    Decoded d = DecodeAll(file);
    EXPECT_EQ(d.image, (Bytes{1, 2, 3, 4, 5, 1})); // pad bytes skipped, 1 kept
    // The others read the same bytes as ByteRun1: 1 -> literal 2 3, 0 -> literal 4.
    EXPECT_EQ(Bytes(d.editor.begin(), d.editor.begin() + 3), (Bytes{2, 3, 4}));
    EXPECT_EQ(Bytes(d.drawn.begin(), d.drawn.begin() + 3), (Bytes{2, 3, 4}));

    // Even widths have no pad byte; a short raw BODY stops where it ends.
    d = DecodeAll(Picture(2, 3, {6, 7, 8, 9, 10}, 0));
    EXPECT_EQ(d.image, (Bytes{6, 7, 8, 9, 10, 0}));
}

TEST(PbmImage, PixelAccessOutsideThePicture) {
    MemoryStream s(Picture(2, 2, {1, 3, 4, 1, 5, 6}));
    TPBMImage image;
    image.LoadFromStream(s);
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.Bmhd.pageWidth, -32767);
    EXPECT_EQ(image.GetPixel(1, 1), 6);
    EXPECT_EQ(image.GetPixel(-1, 0), 0);
    EXPECT_EQ(image.GetPixel(2, 0), 0);
    EXPECT_EQ(image.GetPixel(0, 2), 0);
    Bytes before = image.Pixels;
    image.SetPixel(-1, 0, 9);
    image.SetPixel(2, 0, 9);
    image.SetPixel(0, -1, 9);
    image.SetPixel(0, 2, 9);
    EXPECT_EQ(image.Pixels, before);
    image.SetPixel(1, 0, 9);
    EXPECT_EQ(image.GetPixel(1, 0), 9);
    EXPECT_EQ(image.Pixels[1], 9);

    TPBMImage empty;
    EXPECT_EQ(empty.GetPixel(0, 0), 0);
    empty.SetPixel(0, 0, 1);
    EXPECT_TRUE(empty.Pixels.empty());
}

TEST(PbmDecoders, PalettesAndSkippedChunks) {
    Bytes cmap = {10, 20, 30, 40, 50}; // one colour and part of the next
    Bytes file = PbmBuilder()
                     .Header(1, 1)
                     .Chunk("CMAP", cmap)
                     .Chunk("ANNO", {'o', 'd', 'd'}) // odd length: padded, skipped
                     .Chunk("BODY", {0, 42})
                     .Done();
    std::memset(LastPBMPalette, 0x55, 768);
    Decoded d = DecodeAll(file);
    EXPECT_EQ(d.editor, Bytes{42});
    EXPECT_EQ(d.image, Bytes{42});
    EXPECT_EQ(d.drawn, Bytes{42});
    EXPECT_EQ(Bytes(LastPBMPalette, LastPBMPalette + 6), (Bytes{10, 20, 30, 40, 50, 0x55}));

    MemoryStream s(file);
    TestSurface surface;
    std::memset(surface.colours, 0x77, 768);
    LoadPbmIntoSurface(s, surface);
    EXPECT_EQ(Bytes(surface.colours, surface.colours + 6), (Bytes{10, 20, 30, 40, 50, 0}));
    EXPECT_EQ(surface.colours[767], 0); // past a short CMAP: black

    MemoryStream s2(file);
    TPBMImage image;
    image.LoadFromStream(s2);
    EXPECT_EQ(image.PaletteColours, 1);
    EXPECT_EQ(image.Palette[4], 50);
    EXPECT_EQ(image.Palette[5], 0);

    // A CMAP over 768 bytes: the first 768 are used, the next chunk is still found.
    Bytes big(800);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = uint8_t(i % 251);
    file = PbmBuilder().Header(1, 1).Chunk("CMAP", big).Chunk("BODY", {0, 42}).Done();
    MemoryStream s3(file);
    TPBMImage image2;
    image2.LoadFromStream(s3);
    EXPECT_EQ(image2.PaletteColours, 256);
    EXPECT_EQ(image2.Palette[767], 767 % 251);
    EXPECT_EQ(image2.Pixels, Bytes{42});
    d = DecodeAll(file);
    EXPECT_EQ(LastPBMPalette[767], 767 % 251);
    EXPECT_EQ(d.editor, Bytes{42});
}

TEST(PbmDecoders, ShortBodyStopsAtTheEndOfItsData) {
    // 4 x 3: row 0 complete, row 1 gets two pixels, row 2 nothing.
    Decoded d = DecodeAll(Picture(4, 3, {0xFD, 6, 1, 7, 8}));
    EXPECT_EQ(d.editor, (Bytes{6, 6, 6, 6, 7, 8, kUntouched, kUntouched, kUntouched, kUntouched,
                               kUntouched, kUntouched}));
    EXPECT_EQ(d.image, (Bytes{6, 6, 6, 6, 7, 8, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(d.drawCalls, 6);

    // Data ending inside a repeat run (control byte without its value).
    d = DecodeAll(Picture(2, 2, {0xFF, 3, 0xFF}));
    EXPECT_EQ(d.image, (Bytes{3, 3, 0, 0}));
    EXPECT_EQ(d.drawCalls, 2);

    // A picture without rows, and one with rows of no pixels, are empty pictures.
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}}) {
        d = DecodeAll(Picture(w, h, {0xFF, 3}));
        EXPECT_TRUE(d.editor.empty());
        EXPECT_TRUE(d.image.empty());
        EXPECT_EQ(d.drawCalls, 0);
    }
}

TEST(PbmDecoders, DamagedFilesRaiseEachDecodersClass) {
    auto expectAll = [](const Bytes& file, const std::string& message) {
        EXPECT_EQ(EditorError(file), message);
        EXPECT_EQ(ImageError(file), message);
        EXPECT_EQ(DrawError(file), message);
    };
    Bytes good = Picture(2, 1, {1, 5, 6});
    Bytes notForm = good;
    notForm[0] = 'X';
    expectAll(notForm, "Not an IFF FORM");
    Bytes ilbm = good;
    std::memcpy(ilbm.data() + 8, "ILBM", 4);
    expectAll(ilbm, "Not a PBM IFF");
    expectAll(Bytes(good.begin(), good.end() - 2), kUnexpectedEnd); // ends inside BODY
    expectAll(Bytes(good.begin(), good.begin() + 16), kUnexpectedEnd);

    // BODY before BMHD is refused, also after an earlier picture set the globals.
    DecodeAll(good);
    Bytes early = PbmBuilder().Chunk("BODY", {1, 5, 6}).Done();
    std::string message = EditorError(early);
    EXPECT_NE(message.find("before its header"), std::string::npos) << message;
    expectAll(early, message);

    Bytes shortHeader = PbmBuilder().Chunk("BMHD", Bytes(19, 0)).Done();
    EXPECT_NE(EditorError(shortHeader).find("too short"), std::string::npos);
    expectAll(shortHeader, EditorError(shortHeader));

    // Oversized: refused before the surface is resized or pixels are allocated.
    Bytes huge = Picture(65535, 65535, {0x81, 1});
    expectAll(huge, "Picture is too large (65535 x 65535 pixels)");
    MemoryStream s(huge);
    TestSurface surface;
    EXPECT_THROW(LoadPbmIntoSurface(s, surface), EInvalidGraphic);
    EXPECT_EQ(surface.sizeCalls, 0);
    EXPECT_EQ(ImageError(Picture(8192, 8192, {})), "no error"); // the limit itself is fine

    fs::path missing = TempDir() / "missing.lbm";
    EXPECT_THROW(TPBMImage{missing}, EFOpenError);
    EXPECT_THROW(DrawPBMFile(missing, [](int, int, uint8_t) {}), EFOpenError);
}

// A memory stream that runs a check before every read, to look at a decoder's
// target while the chunks go by.
class WatchedStream : public MemoryStream {
public:
    WatchedStream(const std::vector<uint8_t>& bytes, std::function<void()> watch)
        : MemoryStream(bytes), watch_(std::move(watch)) {}
    size_t Read(void* buffer, size_t n) override {
        watch_();
        return MemoryStream::Read(buffer, n);
    }

private:
    std::function<void()> watch_;
};

TEST(PbmDecoders, PixelsAreMadeOnceWhenTheFirstBodyArrives) {
    // Many headers of a large size, then the real one and its rows.
    PbmBuilder many;
    for (int i = 0; i < 200; ++i)
        many.Header(4000, 4000);
    Bytes file =
        many.Header(3, 2).Chunk("CMAP", {1, 2, 3}).Chunk("BODY", {0xFE, 4, 0xFE, 5}).Done();

    MemoryStream s1(file);
    TestSurface surface;
    LoadPbmIntoSurface(s1, surface);
    EXPECT_EQ(surface.sizeCalls, 1);
    EXPECT_EQ(surface.pixels, (Bytes{4, 4, 4, 5, 5, 5}));

    TPBMImage image;
    size_t mostPixels = 0;
    WatchedStream s2(file, [&] { mostPixels = std::max(mostPixels, image.Pixels.capacity()); });
    image.LoadFromStream(s2);
    EXPECT_EQ(mostPixels, 6u); // never the large size, not even for a moment
    EXPECT_EQ(image.Pixels, (Bytes{4, 4, 4, 5, 5, 5}));
    EXPECT_EQ(image.Width(), 3);

    // Headers alone: the last one's size, the image zero-filled.
    Bytes headersOnly = PbmBuilder().Header(4000, 4000).Header(2, 3).Header(4, 1).Done();
    MemoryStream s3(headersOnly);
    TestSurface bare;
    LoadPbmIntoSurface(s3, bare);
    EXPECT_EQ(bare.sizeCalls, 1);
    EXPECT_EQ(bare.width, 4);
    EXPECT_EQ(bare.height, 1);
    MemoryStream s4(headersOnly);
    TPBMImage blank;
    blank.Pixels.assign(3, 9);
    blank.LoadFromStream(s4);
    EXPECT_TRUE(blank.Pixels.empty()); // no rows: every pixel reads as 0
    EXPECT_EQ(WholePicture(blank), Bytes(4, 0));
    EXPECT_EQ(blank.Height(), 1);
    EXPECT_EQ(DrawError(headersOnly), "no error");
    EXPECT_EQ(LastPBMHeader.w, 4);
}

TEST(PbmDecoders, LaterBodiesDecodeIntoTheSamePicture) {
    // A header of the same size after the rows is taken; the second BODY
    // overwrites row 0 and leaves row 1.
    Bytes file = PbmBuilder()
                     .Header(2, 2)
                     .Chunk("BODY", {1, 5, 6, 1, 8, 9})
                     .Header(2, 2)
                     .Chunk("BODY", {0xFF, 7})
                     .Done();
    Decoded d = DecodeAll(file);
    EXPECT_EQ(d.editor, (Bytes{7, 7, 8, 9}));
    EXPECT_EQ(d.image, (Bytes{7, 7, 8, 9}));
    EXPECT_EQ(d.drawn, (Bytes{7, 7, 8, 9}));
    EXPECT_EQ(d.drawCalls, 6);

    // The image honours a compression change that keeps the size.
    MemoryStream s(PbmBuilder()
                       .Header(2, 2)
                       .Chunk("BODY", {1, 5, 6, 1, 8, 9})
                       .Header(2, 2, 0)
                       .Chunk("BODY", {3, 4})
                       .Done());
    TPBMImage image;
    image.LoadFromStream(s);
    EXPECT_EQ(image.Pixels, (Bytes{3, 4, 8, 9}));
    EXPECT_EQ(image.Bmhd.compression, 0);

    // Another size after the rows is refused by every decoder.
    for (auto [w, h] : {std::pair{2, 3}, std::pair{1, 2}, std::pair{4000, 4000}}) {
        Bytes changed = PbmBuilder().Header(2, 2).Chunk("BODY", {0xFF, 7}).Header(w, h).Done();
        std::string message = EditorError(changed);
        EXPECT_NE(message.find("more than one header"), std::string::npos) << message;
        EXPECT_EQ(ImageError(changed), message);
        EXPECT_EQ(DrawError(changed), message);
    }
}

TEST(PbmDecoders, ProgressBeforeRowsFifteenModSixteen) {
    // 1 x 40, each row one repeat run.
    Bytes body;
    for (int y = 0; y < 40; ++y)
        body.insert(body.end(), {0xFF, uint8_t(y + 2)});
    Bytes file = Picture(1, 40, body);

    std::vector<int> editorRows, drawRows;
    MemoryStream s1(file);
    TestSurface surface;
    LoadPbmIntoSurface(s1, surface, [&] { editorRows.push_back(surface.lastRow + 1); });
    EXPECT_EQ(editorRows, (std::vector<int>{15, 31}));
    EXPECT_EQ(surface.pixels[39], 41);

    int lastY = -1;
    MemoryStream s2(file);
    DrawPBMStream(
        s2, [&](int, int y, uint8_t) { lastY = y; }, [&] { drawRows.push_back(lastY + 1); });
    EXPECT_EQ(drawRows, (std::vector<int>{15, 31}));

    int calls = 0;
    MemoryStream s3(file);
    TPBMImage image;
    image.LoadFromStream(s3, [&] { ++calls; });
    EXPECT_EQ(calls, 2);

    // Raw rows do not pause.
    calls = 0;
    MemoryStream s4(Picture(2, 40, Bytes(80, 3), 0));
    image.LoadFromStream(s4, [&] { ++calls; });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(image.GetPixel(1, 39), 3);
}

TEST(PbmWriter, EncodesRunsAndLiterals) {
    Bytes row = {5, 5, 5, 6, 7, 7};
    EXPECT_EQ(EncodeByteRun1Row(row.data(), 6), (Bytes{0xFE, 5, 2, 6, 7, 7}));
    Bytes flat(300, 9);
    EXPECT_EQ(EncodeByteRun1Row(flat.data(), 300), (Bytes{0x81, 9, 0x81, 9, 0xD5, 9}));
    Bytes literal(200);
    for (size_t i = 0; i < literal.size(); ++i)
        literal[i] = uint8_t(i % 2 ? 4 : i % 7 + 10);
    Bytes packed = EncodeByteRun1Row(literal.data(), 200);
    ASSERT_EQ(packed.size(), 202u);
    EXPECT_EQ(packed[0], 127);
    EXPECT_EQ(packed[129], 71);
    EXPECT_TRUE(EncodeByteRun1Row(row.data(), 0).empty());
}

TEST(PbmWriter, RoundTripThroughEveryDecoder) {
    fs::path dir = TempDir();
    uint8_t rgb[768];
    for (int i = 0; i < 768; ++i)
        rgb[i] = uint8_t(i * 7);
    // Odd width, runs over 128, all-literal rows, colour 0, no colour 1.
    const int w = 131, h = 19;
    Bytes pixels(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t& p = pixels[size_t(y) * w + x];
            if (y % 3 == 0)
                p = uint8_t(2 + (x * 37 + y) % 254); // literals
            else if (y % 3 == 1)
                p = x < 130 ? uint8_t(y * 3) : 200; // long run
            else
                p = uint8_t(x / 4 % 2 ? 0 : 255); // short runs
        }
    for (bool compress : {true, false}) {
        fs::path file = dir / (compress ? "packed.lbm" : "raw.lbm");
        WritePbmFile(file, w, h, pixels.data(), rgb, 256, compress);

        TPBMImage image(file);
        EXPECT_EQ(image.Pixels, pixels) << compress;
        EXPECT_EQ(image.Bmhd.compression, compress ? 1 : 0);
        EXPECT_EQ(image.Bmhd.nPlanes, 8);
        EXPECT_EQ(image.Bmhd.pageWidth, w);
        EXPECT_EQ(image.PaletteColours, 256);
        EXPECT_EQ(0, std::memcmp(image.Palette, rgb, 768));
        if (!compress) continue; // the other decoders read ByteRun1 only

        Bytes drawn(pixels.size(), kUntouched);
        DrawPBMFile(file, [&](int x, int y, uint8_t c) { drawn.at(size_t(y) * w + x) = c; });
        EXPECT_EQ(drawn, pixels);
        EXPECT_EQ(LastPBMHeader.h, h);

        FileStream stream(file);
        TestSurface surface;
        LoadPbmIntoSurface(stream, surface);
        EXPECT_EQ(surface.pixels, pixels);
        EXPECT_EQ(surface.colours[767], rgb[767]);
    }

    // Colour 1 does not survive: the editor loses it everywhere, the runtime in runs.
    Bytes ones = {1, 1, 1, 1, 2, 1};
    fs::path file = dir / "ones.lbm";
    WritePbmFile(file, 6, 1, ones.data(), rgb, 2, true);
    EXPECT_EQ(TPBMImage(file).Pixels, (Bytes{0, 0, 0, 0, 2, 1}));
    FileStream stream(file);
    TestSurface surface;
    LoadPbmIntoSurface(stream, surface);
    EXPECT_EQ(surface.pixels, (Bytes{0, 0, 0, 0, 2, 0}));

    EXPECT_THROW(WritePbmFile(file, 70000, 1, ones.data(), rgb, 2, true), EInOutError);
    EXPECT_THROW(WritePbmFile(file, 1, 1, ones.data(), rgb, 257, true), EInOutError);
    fs::remove_all(dir);
}

TEST(PbmDecoders, MatchThePlainReadingOnLargeRandomPictures) {
    std::mt19937 rng(77);
    // The widest bodies take more than one block of reading.
    for (int w : {1, 31, 32, 33, 200, 517, 4000}) {
        const int h = 40;
        Bytes body = RandomBody(w, h, rng);
        // Whole, and cut at a few places so that rows end early in both the
        // plentiful-data and the scarce-data stretch of the BODY.
        for (size_t cut : {body.size(), body.size() / 2 + 1, body.size() - 3, size_t(7)}) {
            Bytes part(body.begin(), body.begin() + std::min(cut, body.size()));
            Bytes file = Picture(w, h, part);
            SCOPED_TRACE("width " + std::to_string(w) + " cut " + std::to_string(cut));

            MemoryStream s1(file);
            GuardedSurface surface;
            LoadPbmIntoSurface(s1, surface);
            EXPECT_TRUE(surface.GuardsIntact());
            EXPECT_EQ(surface.Pixels(), ReferenceDecode(part, w, h, true, kUntouched));

            MemoryStream s2(file);
            TPBMImage image;
            image.LoadFromStream(s2);
            EXPECT_EQ(WholePicture(image), ReferenceDecode(part, w, h, false, 0));
            EXPECT_EQ(image.Pixels.size() % size_t(w), 0u);

            Bytes drawn(size_t(w) * h, kUntouched);
            MemoryStream s3(file);
            DrawPBMStream(s3, [&](int x, int y, uint8_t c) { drawn.at(size_t(y) * w + x) = c; });
            EXPECT_EQ(drawn, ReferenceDecode(part, w, h, false, kUntouched));

            Bytes inlined(size_t(w) * h, kUntouched);
            MemoryStream s4(file);
            DrawPBMStreamInline(
                s4, [&](int x, int y, uint8_t c) { inlined.at(size_t(y) * w + x) = c; });
            EXPECT_EQ(inlined, drawn);
        }
    }
}

namespace {

// Reads through another stream, adding up the bytes read.
class TallyStream : public Stream {
public:
    explicit TallyStream(Stream& inner) : inner_(inner) {}
    size_t Read(void* buffer, size_t n) override {
        const size_t got = inner_.Read(buffer, n);
        bytesRead += got;
        return got;
    }
    uint64_t Position() const override { return inner_.Position(); }
    void Seek(uint64_t position) override { inner_.Seek(position); }
    uint64_t Size() const override { return inner_.Size(); }
    uint64_t bytesRead = 0;

private:
    Stream& inner_;
};

// Notes the row limit it is given and refuses rows past it.
class LimitedSurface : public TestSurface {
public:
    void LimitRows(int rows) override { limit = rows; }
    uint8_t* PictureRow(int y) override {
        EXPECT_LT(y, limit);
        return TestSurface::PictureRow(y);
    }
    int limit = -1;
};

} // namespace

TEST(PbmDecoders, PicturesCostWhatTheirDataCanFill) {
    // 8192 x 8192 announced in 40 bytes: no pixel memory at all.
    const Bytes announced = PbmBuilder().Header(8192, 8192).Done();
    ASSERT_EQ(announced.size(), 40u);
    MemoryStream s1(announced);
    TPBMImage image;
    image.LoadFromStream(s1);
    EXPECT_EQ(image.Width(), 8192);
    EXPECT_EQ(image.Pixels.capacity(), 0u);
    EXPECT_EQ(image.GetPixel(8191, 8191), 0);
    MemoryStream s2(announced);
    LimitedSurface bare;
    LoadPbmIntoSurface(s2, bare);
    EXPECT_EQ(bare.limit, 0);
    EXPECT_EQ(bare.height, 8192);

    // A body of 300 bytes can reach 3 rows of 8192 pixels (128 bytes a row
    // at the least): room for those, the rows it fills, and the rest reads 0.
    Bytes body;
    for (int i = 0; i < 150; ++i)
        body.insert(body.end(), {0x81, 9}); // 128 pixels of 9
    const Bytes shortBody = Picture(8192, 8192, body);
    MemoryStream s3(shortBody);
    TPBMImage some;
    some.LoadFromStream(s3);
    EXPECT_LE(some.Pixels.capacity(), 3u * 8192);
    EXPECT_EQ(some.Pixels.size(), 3u * 8192);
    EXPECT_EQ(some.GetPixel(8191, 1), 9);
    // 64 runs make a row: row 2 gets the last 22 runs, 2816 pixels.
    EXPECT_EQ(some.GetPixel(2815, 2), 9);
    EXPECT_EQ(some.GetPixel(2816, 2), 0);
    MemoryStream s4(shortBody);
    LimitedSurface surface;
    LoadPbmIntoSurface(s4, surface);
    EXPECT_EQ(surface.limit, 3);
    EXPECT_EQ(surface.pixels[8192 + 100], 9);

    // A BODY chunk of 4 GB in a sparse file is read no further than its rows
    // can use: 1000 rows of 1000 pixels take at most 2127 bytes each.
    const fs::path file = TempDir() / "sparse.lbm";
    {
        Bytes head = PbmBuilder().Header(1000, 1000).Done();
        const uint64_t bodyLength = 0xFFFFFF00u;
        head.insert(head.end(), {'B', 'O', 'D', 'Y', 0xFF, 0xFF, 0xFF, 0x00});
        const uint64_t size = head.size() + bodyLength;
        for (int i = 0; i < 4; ++i)
            head[4 + i] = uint8_t(size >> (24 - 8 * i));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
        fs::resize_file(file, size);
    }
    const uint64_t mostUseful = 1000 * (2 * 1000 + 127) + 128 * 1024;
    FileStream sparse(file);
    TallyStream tally(sparse);
    TPBMImage zeros;
    zeros.LoadFromStream(tally);
    EXPECT_LE(tally.bytesRead, mostUseful);
    EXPECT_EQ(zeros.Pixels, Bytes(1000 * 1000, 0));
    for (int decoder = 0; decoder < 2; ++decoder) {
        FileStream again(file);
        TallyStream counted(again);
        TestSurface target;
        if (decoder == 0)
            LoadPbmIntoSurface(counted, target);
        else
            DrawPBMStream(counted, [](int, int, uint8_t) {});
        EXPECT_LE(counted.bytesRead, mostUseful) << decoder;
    }
    fs::remove(file);
}
