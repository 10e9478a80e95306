#include "formats/tilepalette.h"

#include "formats/iff.h"

#include <cstring>

namespace formats {
namespace {

constexpr char kSignature[8] = {'T', 'I', 'L', 'E', ' ', 'P', 'A', 'L'};
constexpr size_t kHeaderBytes = 12; // signature and slot count
constexpr const char* kReadBeyondEnd = "Read beyond end of file";

} // namespace

TilePaletteIds ReadTilePalette(Stream& stream) {
    uint8_t header[kHeaderBytes];
    if (stream.Read(header, sizeof kSignature) != sizeof kSignature) {
        throw EInOutError(kReadBeyondEnd);
    }
    if (std::memcmp(header, kSignature, sizeof kSignature) != 0) {
        throw ENotPaletteFile("Not a Tile Palette File");
    }
    // The slot count is not used: the entries are always 1024.
    const size_t countBytes = kHeaderBytes - sizeof kSignature;
    if (stream.Read(header + sizeof kSignature, countBytes) != countBytes) {
        throw EInOutError(kReadBeyondEnd);
    }

    uint8_t entries[kPaletteSlots * 2];
    const size_t got = stream.Read(entries, sizeof entries);
    if (got < kMinTilePaletteFileSize - kHeaderBytes) throw EInOutError(kReadBeyondEnd);
    TilePaletteIds ids{};
    for (size_t slot = 0; slot < ids.size() && 2 * slot + 1 < got; ++slot) {
        ids[slot] = static_cast<uint16_t>(entries[2 * slot] | entries[2 * slot + 1] << 8);
    }
    return ids;
}

TilePaletteIds ReadTilePalette(const std::filesystem::path& fileName) {
    try {
        FileStream stream(fileName);
        return ReadTilePalette(stream);
    } catch (const EFOpenError& e) {
        throw EInOutError(e.what());
    }
}

void WriteTilePalette(const std::filesystem::path& fileName, const TilePaletteIds& ids) {
    uint8_t bytes[kTilePaletteFileSize];
    std::memcpy(bytes, kSignature, sizeof kSignature);
    const uint32_t count = kPaletteSlots;
    for (int i = 0; i < 4; ++i)
        bytes[sizeof kSignature + i] = static_cast<uint8_t>(count >> 8 * i);
    uint8_t* p = bytes + kHeaderBytes;
    for (uint16_t id : ids) {
        *p++ = static_cast<uint8_t>(id);
        *p++ = static_cast<uint8_t>(id >> 8);
    }
    ReplaceFile file(fileName);
    BinaryWriter(file.File()).WriteBytes(bytes, sizeof bytes);
    file.Commit();
}

} // namespace formats
