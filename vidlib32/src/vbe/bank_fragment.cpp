// The bank-switch fragment for the virtual linear buffer: the BIOS's
// protected-mode window code, framed so that it takes the bank number in EAX.
#include "state.h"
#include "vbe/pm_interface.h"
#include "vidlib32/vidlib32.h"

#include <cstring>

using namespace vidlib32;

namespace {

constexpr uint32_t kBankCodeBytes = 100;
constexpr uint32_t kFbadMarkerAt = 8, kFbadLengthAt = 12;
constexpr uint32_t kFbadMarker = 0xFBADFBAD;
constexpr uint8_t kReturn = 0xC3;

// push ebx; push ecx; mov edx, eax; xor ebx, ebx (window A); shl edx, imm8
constexpr uint8_t kPrologue[] = {0x53, 0x51, 0x8B, 0xD0, 0x31, 0xDB, 0xC1, 0xE2, 0x00};
constexpr uint32_t kShiftAt = sizeof kPrologue - 1;
// pop ecx; pop ebx
constexpr uint8_t kEpilogue[] = {0x59, 0x5B};

uint8_t bankCodeArea[kBankCodeBytes];

uint32_t ReadLong(const PmTableView& table, uint32_t at) {
    uint32_t v;
    std::memcpy(&v, table.bytes + at, 4);
    return v;
}

// Bytes of the window code before its return: the table says so after the
// marker 0FBADFBADh; otherwise up to the first C3h byte. 0 when the code's
// end cannot be found inside the copy.
uint32_t WindowCodeLength(const PmTableView& table, uint32_t start) {
    if (table.length >= kFbadLengthAt + 4 && ReadLong(table, kFbadMarkerAt) == kFbadMarker) {
        const uint32_t withReturn = ReadLong(table, kFbadLengthAt);
        if (withReturn == 0 || withReturn - 1 > table.length - start) return 0;
        return withReturn - 1;
    }
    const void* end = std::memchr(table.bytes + start, kReturn, table.length - start);
    return end ? static_cast<uint32_t>(static_cast<const uint8_t*>(end) - (table.bytes + start))
               : 0;
}

} // namespace

extern "C" {

// Refused (0) below VBE 2.0, without a table, when the code needs a
// selector (it cannot be moved then), when its end cannot be found, and
// when the framed code does not fit the 100-byte area.
int32_t VBE_getBankFunc32(int32_t* length, void** code, int32_t /*reserved*/, int32_t shift) {
    if (gVbe.version < 0x0200) return 0;
    const PmTableView table = PmInterface();
    if (!table.bytes || gVbe.mmioSelector != 0) return 0;
    const auto* entry = static_cast<const uint8_t*>(VBE_getSetBank());
    if (!entry) return 0;
    const uint32_t start = static_cast<uint32_t>(entry - table.bytes);
    const uint32_t codeBytes = WindowCodeLength(table, start);
    const uint32_t total = sizeof kPrologue + codeBytes + sizeof kEpilogue;
    if (codeBytes == 0 || total > kBankCodeBytes) return 0;

    uint8_t* at = bankCodeArea;
    std::memcpy(at, kPrologue, sizeof kPrologue);
    at[kShiftAt] = static_cast<uint8_t>(shift);
    at += sizeof kPrologue;
    std::memcpy(at, entry, codeBytes);
    at += codeBytes;
    std::memcpy(at, kEpilogue, sizeof kEpilogue);
    if (length) *length = static_cast<int32_t>(total);
    if (code) *code = bankCodeArea;
    return 1;
}

} // extern "C"
