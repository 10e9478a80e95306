// Writing PBM pictures: BMHD, CMAP and BODY in ByteRun1 or raw rows.
// Every decoder turns colour 1 into 0 in repeated runs (the editor's loader in
// every run), so only pictures without colour 1 read back unchanged.
#include "formats/pbm.h"

#include "formats/iff.h"

#include <string>

namespace formats {

namespace {

constexpr int kMaxRun = 128; // longest run one control byte describes here

// Length of the run of equal bytes starting at i, at most kMaxRun.
int RepeatLength(const uint8_t* row, int i, int width) {
    int n = 1;
    while (i + n < width && n < kMaxRun && row[i + n] == row[i])
        ++n;
    return n;
}

void PutWord(uint8_t* at, uint16_t value) {
    at[0] = uint8_t(value >> 8);
    at[1] = uint8_t(value);
}

void WriteHeader(BinaryWriter& out, ChunkWriter& chunks, int width, int height, bool compress) {
    uint8_t b[20] = {};
    PutWord(b + 0, uint16_t(width));
    PutWord(b + 2, uint16_t(height));
    b[8] = 8;                 // nPlanes
    b[10] = compress ? 1 : 0; // compression
    b[14] = 1;                // xAspect: square pixels
    b[15] = 1;                // yAspect
    PutWord(b + 16, uint16_t(width));
    PutWord(b + 18, uint16_t(height));
    chunks.BeginChunk("BMHD");
    out.WriteBytes(b, sizeof b);
    chunks.EndChunk();
}

} // namespace

// Runs of three or more equal bytes become repeat runs; everything else is
// gathered into literal runs. The control byte -128 is never written, since
// readers disagree on its meaning.
std::vector<uint8_t> EncodeByteRun1Row(const uint8_t* row, int width) {
    std::vector<uint8_t> out;
    out.reserve(width > 0 ? size_t(width) + size_t(width) / kMaxRun + 1 : 0);
    int i = 0;
    while (i < width) {
        int repeat = RepeatLength(row, i, width);
        if (repeat >= 3) {
            out.push_back(uint8_t(1 - repeat));
            out.push_back(row[i]);
            i += repeat;
            continue;
        }
        int start = i;
        while (i < width && i - start < kMaxRun) {
            if (i + 2 < width && row[i] == row[i + 1] && row[i] == row[i + 2]) break;
            ++i;
        }
        out.push_back(uint8_t(i - start - 1));
        out.insert(out.end(), row + start, row + i);
    }
    return out;
}

void WritePbmFile(const std::filesystem::path& fileName, int width, int height,
                  const uint8_t* pixels, const uint8_t* rgb, int colours, bool compress,
                  FormLength formLength) {
    if (width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF) {
        throw EInOutError("Cannot write a picture of " + std::to_string(width) + " x " +
                          std::to_string(height) + " pixels");
    }
    if (colours < 0 || colours > 256) {
        throw EInOutError("Cannot write a palette of " + std::to_string(colours) + " colours");
    }
    ReplaceFile file(fileName);
    BinaryWriter out(file.File());
    ChunkWriter chunks(out);
    chunks.BeginForm("PBM ");
    WriteHeader(out, chunks, width, height, compress);

    chunks.BeginChunk("CMAP");
    out.WriteBytes(rgb, size_t(colours) * 3);
    chunks.EndChunk();

    chunks.BeginChunk("BODY");
    const uint8_t pad = 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + size_t(y) * width;
        if (compress) {
            std::vector<uint8_t> packed = EncodeByteRun1Row(row, width);
            out.WriteBytes(packed.data(), packed.size());
        } else {
            out.WriteBytes(row, size_t(width));
            if (width & 1) out.WriteBytes(&pad, 1);
        }
    }
    chunks.EndChunk();
    chunks.EndForm(formLength);
    file.Commit();
}

} // namespace formats
