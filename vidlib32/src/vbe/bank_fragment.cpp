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

uint16_t ReadWord(const PmTableView& table, uint32_t at) {
    uint16_t v;
    std::memcpy(&v, table.bytes + at, 2);
    return v;
}

// Where the window code ends at the latest: at the next routine or list the
// table names after it, else at the table's end.
uint32_t ExtentEnd(const PmTableView& table, uint32_t start) {
    uint32_t end = table.length;
    for (uint32_t word = 1; word < 4; ++word) {
        const uint32_t at = ReadWord(table, 2 * word);
        if (at > start && at < end) end = at;
    }
    return end;
}

// Bytes of the window code before its return: the table says so after the
// marker 0FBADFBADh; otherwise up to the first C3h byte. Code with a further
// C3h byte before its extent ends is refused (0): it may return from the
// middle (the Bochs VGABIOS returns from three places), and a fragment that
// returns from inside or jumps past its cut would leave without its epilogue.
// 0 also when the code's end cannot be found inside the copy.
uint32_t WindowCodeLength(const PmTableView& table, uint32_t start) {
    if (table.length >= kFbadLengthAt + 4 && ReadLong(table, kFbadMarkerAt) == kFbadMarker) {
        const uint32_t withReturn = ReadLong(table, kFbadLengthAt);
        if (withReturn == 0 || withReturn - 1 > table.length - start) return 0;
        return withReturn - 1;
    }
    const uint8_t* code = table.bytes + start;
    const uint8_t* end = table.bytes + ExtentEnd(table, start);
    const auto* ret = static_cast<const uint8_t*>(std::memchr(code, kReturn, end - code));
    if (!ret || std::memchr(ret + 1, kReturn, end - (ret + 1))) return 0;
    return static_cast<uint32_t>(ret - code);
}

} // namespace

extern "C" {

// Refused (0) below VBE 2.0, without a table, when the code needs a
// selector (it cannot be moved then), when it has no single end, and when
// the framed code does not fit the 100-byte area.
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
