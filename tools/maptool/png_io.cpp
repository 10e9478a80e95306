#include "maptool/png_io.h"

#include "maptool/failure.h"

#include "formats/pbm.h"
#include "formats/replacefile.h"
#include "formats/stream.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace maptool {

namespace {

// PNG width and height that a PBM picture can hold.
constexpr png_uint_32 kMaxSide = 65535;

// libpng reports errors by longjmp. The message goes here first; the calls that
// can jump live in small functions whose locals have no destructors, so the
// jump never skips one.
struct PngErrorText {
    char text[200] = "damaged PNG file";
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngErrorText*>(png_get_error_ptr(png));
    std::snprintf(error->text, sizeof error->text, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// libpng reads through the project's file stream, which opens regular files
// only: a named pipe or a device never makes the reader wait.
void ReadFromStream(png_structp png, png_bytep data, size_t length) {
    auto* stream = static_cast<formats::Stream*>(png_get_io_ptr(png));
    if (stream->Read(data, length) != length) png_error(png, "unexpected end of file");
}

// Writes keep their own error, so that a full disk or a file-size limit is
// reported as such.
struct PngOutput {
    std::FILE* file;
    int error = 0;
};

void WriteToFile(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<PngOutput*>(png_get_io_ptr(png));
    errno = 0;
    if (std::fwrite(data, 1, length, out->file) != length) {
        out->error = errno ? errno : EIO;
        png_error(png, std::strerror(out->error));
    }
}

void FlushFile(png_structp png) {
    auto* out = static_cast<PngOutput*>(png_get_io_ptr(png));
    if (std::fflush(out->file) != 0) {
        out->error = errno ? errno : EIO;
        png_error(png, std::strerror(out->error));
    }
}

struct PngHeader {
    png_uint_32 width = 0, height = 0;
    bool interlaced = false;
    int colourType = 0;
    int bitDepth = 0;
    int colours = 0;
    uint8_t rgb[768] = {};
};

bool ReadPngHeader(png_structp png, png_infop info, PngHeader* header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    header->width = png_get_image_width(png, info);
    header->height = png_get_image_height(png, info);
    header->interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    header->colourType = png_get_color_type(png, info);
    header->bitDepth = png_get_bit_depth(png, info);
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count) && palette) {
        header->colours = count < 0 ? 0 : count > 256 ? 256 : count;
        for (int i = 0; i < header->colours; ++i) {
            header->rgb[3 * i] = palette[i].red;
            header->rgb[3 * i + 1] = palette[i].green;
            header->rgb[3 * i + 2] = palette[i].blue;
        }
    }
    return true;
}

// Indices come one byte a pixel, and interlaced rows pass by pass as stored
// (each pass row starts at the row's first byte); the caller places them.
bool StartPngRows(png_structp png, png_infop info, size_t* rowBytes) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_packing(png); // 1, 2 and 4-bit indices become one byte each
    png_read_update_info(png, info);
    *rowBytes = png_get_rowbytes(png, info);
    return true;
}

// `row` must hold a whole picture row, also for the rows of a narrow pass.
bool ReadPngRow(png_structp png, png_bytep row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_row(png, row, nullptr);
    return true;
}

bool FinishPng(png_structp png) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_end(png, nullptr);
    return true;
}

bool WritePngAll(png_structp png, png_infop info, PngOutput* output, const IndexedPicture* picture,
                 png_bytepp rows, png_colorp palette) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, output, WriteToFile, FlushFile);
    png_set_IHDR(png, info, png_uint_32(picture->width), png_uint_32(picture->height), 8,
                 PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(png, info, palette, picture->Colours());
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadStructs() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

struct WriteStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~WriteStructs() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

// Makes `bytes` hold `size` bytes, growing its room by doubling up to `total`:
// a header may announce 64 M pixels that the file's data never reaches, so
// memory follows the rows that really arrive.
void GrowTo(std::vector<uint8_t>& bytes, size_t size, size_t total) {
    if (bytes.capacity() < size)
        bytes.reserve(std::min(total, std::max(size, 2 * bytes.capacity())));
    bytes.resize(size);
}

bool ReadRowsInOrder(png_structp png, const PngHeader& header, std::vector<uint8_t>* pixels) {
    const size_t width = header.width;
    const size_t total = width * header.height;
    for (size_t y = 0; y < header.height; ++y) {
        GrowTo(*pixels, (y + 1) * width, total);
        if (!ReadPngRow(png, pixels->data() + y * width)) return false;
    }
    return true;
}

// The seven passes are kept as they arrive, each pass row only as wide as the
// pass; the picture is put together once every pass has been read.
bool ReadInterlacedRows(png_structp png, const PngHeader& header, std::vector<uint8_t>* pixels) {
    const size_t total = size_t(header.width) * header.height;
    std::vector<uint8_t> row(header.width);
    std::vector<uint8_t> passes;
    for (int pass = 0; pass < 7; ++pass) {
        const size_t columns = PNG_PASS_COLS(header.width, pass);
        const png_uint_32 rows = PNG_PASS_ROWS(header.height, pass);
        if (columns == 0) continue; // like libpng, pass over passes without columns or rows
        for (png_uint_32 r = 0; r < rows; ++r) {
            if (!ReadPngRow(png, row.data())) return false;
            const size_t at = passes.size();
            GrowTo(passes, at + columns, total);
            std::copy_n(row.begin(), columns, passes.begin() + ptrdiff_t(at));
        }
    }
    pixels->assign(total, 0);
    const uint8_t* next = passes.data();
    for (int pass = 0; pass < 7; ++pass) {
        const png_uint_32 columns = PNG_PASS_COLS(header.width, pass);
        const png_uint_32 rows = PNG_PASS_ROWS(header.height, pass);
        if (columns == 0) continue;
        for (png_uint_32 r = 0; r < rows; ++r) {
            uint8_t* out = pixels->data() + size_t(PNG_ROW_FROM_PASS_ROW(r, pass)) * header.width;
            for (png_uint_32 c = 0; c < columns; ++c)
                out[PNG_COL_FROM_PASS_COL(c, pass)] = *next++;
        }
    }
    return true;
}

} // namespace

IndexedPicture ReadIndexedPng(const std::filesystem::path& file) {
    std::unique_ptr<formats::FileStream> in;
    try {
        in = std::make_unique<formats::FileStream>(file);
    } catch (const formats::FormatError& e) {
        throw Failure(e.what());
    }
    return ReadIndexedPng(*in, file.string());
}

IndexedPicture ReadIndexedPng(formats::Stream& in, const std::string& name) {
    png_byte signature[8] = {};
    if (in.Read(signature, 8) != 8 || png_sig_cmp(signature, 0, 8) != 0) {
        throw Failure(name + " is not a PNG file");
    }

    PngErrorText error;
    ReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
    if (!structs.png) throw Failure("cannot set up the PNG reader");
    structs.info = png_create_info_struct(structs.png);
    if (!structs.info) throw Failure("cannot set up the PNG reader");
    png_set_read_fn(structs.png, &in, ReadFromStream);
    png_set_sig_bytes(structs.png, 8);
    png_set_user_limits(structs.png, kMaxSide, kMaxSide);

    PngHeader header;
    if (!ReadPngHeader(structs.png, structs.info, &header)) throw Failure(name + ": " + error.text);
    if (header.colourType != PNG_COLOR_TYPE_PALETTE) {
        throw Failure(name + " is not an indexed-colour PNG; convert it to 256 colours first");
    }
    if (header.colours == 0) throw Failure(name + ": the PNG has no palette");
    // The header alone must not make us allocate: a few bytes can claim 65535 x 65535.
    if (uint64_t(header.width) * header.height > formats::kMaxPicturePixels) {
        throw Failure(name + ": picture is too large for a PBM file");
    }

    size_t rowBytes = 0;
    if (!StartPngRows(structs.png, structs.info, &rowBytes))
        throw Failure(name + ": " + error.text);
    if (rowBytes != header.width) throw Failure(name + ": unexpected PNG row layout");

    IndexedPicture picture;
    picture.width = int(header.width);
    picture.height = int(header.height);
    picture.rgb.assign(header.rgb, header.rgb + 3 * header.colours);
    const bool complete = header.interlaced
                              ? ReadInterlacedRows(structs.png, header, &picture.pixels)
                              : ReadRowsInOrder(structs.png, header, &picture.pixels);
    if (!complete || !FinishPng(structs.png)) throw Failure(name + ": " + error.text);
    return picture;
}

void WriteIndexedPng(const std::filesystem::path& file, const IndexedPicture& picture) {
    const std::string name = file.string();
    if (picture.width <= 0 || picture.height <= 0) throw Failure("a PNG needs at least one pixel");
    if (picture.Colours() < 1 || picture.Colours() > 256) {
        throw Failure("a PNG palette holds 1 to 256 colours");
    }
    std::vector<png_color> palette(size_t(picture.Colours()));
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = {picture.rgb[3 * i], picture.rgb[3 * i + 1], picture.rgb[3 * i + 2]};
    }
    std::vector<png_bytep> rows(size_t(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        rows[size_t(y)] = const_cast<png_bytep>(picture.pixels.data()) + size_t(y) * picture.width;
    }

    try {
        // The previous file is replaced only by a complete new one.
        formats::ReplaceFile out(file);
        PngOutput output{out.File()};
        PngErrorText error;
        WriteStructs structs;
        structs.png =
            png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, OnPngError, OnPngWarning);
        if (structs.png) structs.info = png_create_info_struct(structs.png);
        if (!structs.info) throw Failure("cannot set up the PNG writer");
        if (!WritePngAll(structs.png, structs.info, &output, &picture, rows.data(),
                         palette.data())) {
            throw Failure("cannot write " + name + ": " + error.text);
        }
        out.Commit();
    } catch (const formats::FormatError& e) {
        throw Failure(e.what());
    }
}

} // namespace maptool
