// maptool decode PICTURE OUT.png: a PBM picture through one of the three
// decoders, written as an 8-bit palette PNG so that colour indices survive.
#include "formats/pbm.h"
#include "maptool/arguments.h"
#include "maptool/commands.h"
#include "maptool/failure.h"
#include "maptool/png_io.h"

#include <cstring>

namespace maptool {

namespace {

// The editor's drawing surface, kept in memory.
class MemorySurface : public formats::PbmSurfaceTarget {
public:
    void SetPictureSize(int width, int height) override {
        picture.width = width;
        picture.height = height;
        picture.pixels.assign(size_t(width) * size_t(height), 0);
    }
    void SetPictureColours(const uint8_t (&rgb)[768]) override {
        picture.rgb.assign(rgb, rgb + 768);
    }
    uint8_t* PictureRow(int y) override {
        return picture.pixels.data() + size_t(y) * size_t(picture.width);
    }
    IndexedPicture picture;
};

IndexedPicture DecodeAsEditor(formats::Stream& stream) {
    MemorySurface surface;
    formats::LoadPbmIntoSurface(stream, surface);
    return surface.picture;
}

IndexedPicture DecodeAsImage(formats::Stream& stream) {
    formats::TPBMImage image;
    image.LoadFromStream(stream);
    IndexedPicture picture;
    picture.width = image.Width();
    picture.height = image.Height();
    picture.pixels = image.Pixels;
    // The image holds the rows its data reached; the others read as 0.
    picture.pixels.resize(size_t(picture.width) * size_t(picture.height), 0);
    picture.rgb.assign(image.Palette, image.Palette + 768);
    return picture;
}

IndexedPicture DecodeAsStream(formats::Stream& stream) {
    // The streaming decoder leaves header and palette in globals; start them clean
    // so nothing of an earlier picture shows through.
    formats::LastPBMHeader = {};
    std::memset(formats::LastPBMPalette, 0, sizeof formats::LastPBMPalette);
    IndexedPicture picture;
    auto fitHeader = [&picture] {
        const formats::BitmapHeader& header = formats::LastPBMHeader;
        if (header.w == picture.width && header.h == picture.height) return;
        if (uint64_t(header.w) * header.h > formats::kMaxPicturePixels) {
            throw Failure("picture is too large");
        }
        picture.width = header.w;
        picture.height = header.h;
        picture.pixels.assign(size_t(header.w) * header.h, 0);
    };
    formats::DrawPBMStream(stream, [&](int x, int y, uint8_t colour) {
        fitHeader();
        if (x >= 0 && y >= 0 && x < picture.width && y < picture.height) {
            picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)] = colour;
        }
    });
    fitHeader();
    picture.rgb.assign(formats::LastPBMPalette, formats::LastPBMPalette + 768);
    return picture;
}

} // namespace

void Decode(const Arguments& args, std::ostream&) {
    ParsedArguments parsed = ParseArguments(args, 2, {"--as"});
    const std::string& input = parsed.positional[0];
    const std::string& output = parsed.positional[1];
    const std::string decoder = parsed.Value("--as", "image");
    IndexedPicture (*decode)(formats::Stream&) = nullptr;
    if (decoder == "editor") decode = DecodeAsEditor;
    if (decoder == "image") decode = DecodeAsImage;
    if (decoder == "stream") decode = DecodeAsStream;
    if (!decode) throw UsageError("unknown decoder \"" + decoder + "\"");

    IndexedPicture picture = ForFile(input, [&] {
        formats::FileStream stream(input);
        return decode(stream);
    });
    if (picture.width <= 0 || picture.height <= 0) throw Failure(input + ": picture has no pixels");
    if (picture.rgb.size() != 768) picture.rgb.resize(768, 0); // no CMAP: all black
    WriteIndexedPng(output, picture);
}

} // namespace maptool
