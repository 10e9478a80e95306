#pragma once
// Test support: a driver image whose every entry records the registers it
// was called with, and the first 8 values at ESI, into a record inside the
// image, then returns 1000h + its entry's header offset in EAX and 4321h in
// ECX (the line length SetVideoMode gives back). GetVideoModeInfo also marks
// the first and last words of the record at EDI. InitDriver turns the
// entries' image offsets into addresses; SetBank32 is 30 bytes that are
// never run. The image is built byte by byte; the instructions are beside
// each byte sequence.
#include "driver_files.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vbeaf_test {

struct Recording {
    uint32_t entry; // the header offset of the entry that ran
    uint32_t eax, ebx, ecx, edx, esi, edi;
    int32_t atEsi[8];
};

constexpr size_t kRecordingAt = 0x310;
constexpr uint32_t kModeInfoMark = 0xCAFEF00D;
constexpr uint32_t kRecorderEcx = 0x4321;
constexpr uint32_t kRecorderResult = 0x1000;
constexpr uint32_t kRecorderSetBank32Len = 30;

// The recording of the last entry call of a loaded recorder.
inline Recording LastRecording(const AF_DriverHeader* driver) {
    Recording r;
    std::memcpy(&r, reinterpret_cast<const uint8_t*>(driver) + kRecordingAt, sizeof r);
    return r;
}

class RecorderImage {
public:
    Bytes build() {
        image_.assign(0x400, 0);
        std::memcpy(image_.data(), AF_SIGNATURE, sizeof AF_SIGNATURE);
        Put(offsetof(AF_DriverHeader, Version), AF_VERSION_1_0);
        std::memcpy(image_.data() + offsetof(AF_DriverHeader, OemVendorName), "Recorder", 9);
        Put(offsetof(AF_DriverHeader, AvailableModes), kModeListAt);
        Put16(kModeListAt, 0x101);
        Put16(kModeListAt + 2, 0xFFFF);
        Put(offsetof(AF_DriverHeader, BankedBasePtr), 0xA0000);
        Put(offsetof(AF_DriverHeader, BankSize), 64);

        Put(offsetof(AF_DriverHeader, SetBank32Len), kRecorderSetBank32Len);
        Put(offsetof(AF_DriverHeader, SetBank32), kSetBank32At);
        for (uint32_t i = 0; i + 1 < kRecorderSetBank32Len; ++i)
            image_[kSetBank32At + i] = static_cast<uint8_t>(0x40 + i); // never run
        image_[kSetBank32At + kRecorderSetBank32Len - 1] = 0xC3;       // ret

        image_.resize(kCodeAt);
        std::vector<uint32_t> relocated = {offsetof(AF_DriverHeader, SetBank32)};
        for (size_t field = offsetof(AF_DriverHeader, GetVideoModeInfo);
             field <= offsetof(AF_DriverHeader, DstTransBltLin); field += 4) {
            Put(field, static_cast<uint32_t>(image_.size()));
            Stub(static_cast<uint32_t>(field));
            relocated.push_back(static_cast<uint32_t>(field));
        }
        Put(offsetof(AF_DriverHeader, InitDriver), static_cast<uint32_t>(image_.size()));
        for (uint32_t field : relocated)
            Code({0x01, 0x9B}), Long(field); // add [ebx + field], ebx
        Code({0x31, 0xC0, 0xC3});            // xor eax, eax; ret
        return image_;
    }

private:
    static constexpr uint32_t kModeListAt = 0x300;
    static constexpr uint32_t kSetBank32At = 0x380;
    static constexpr uint32_t kCodeAt = 0x400;

    void Put(size_t at, uint32_t v) { std::memcpy(image_.data() + at, &v, 4); }
    void Put16(size_t at, uint16_t v) { std::memcpy(image_.data() + at, &v, 2); }
    void Code(std::initializer_list<uint8_t> bytes) { image_.insert(image_.end(), bytes); }
    void Long(uint32_t v) {
        const auto* b = reinterpret_cast<const uint8_t*>(&v);
        image_.insert(image_.end(), b, b + 4);
    }
    // mov [ebx + recording + at], reg  (reg: 0 eax, 1 ecx, 2 edx, 3 ebx, 6 esi, 7 edi)
    void Store(uint8_t reg, size_t at) {
        Code({0x89, static_cast<uint8_t>(0x83 | reg << 3)});
        Long(static_cast<uint32_t>(kRecordingAt + at));
    }
    void Stub(uint32_t field) {
        Store(0, offsetof(Recording, eax));
        Store(3, offsetof(Recording, ebx));
        Store(1, offsetof(Recording, ecx));
        Store(2, offsetof(Recording, edx));
        Store(6, offsetof(Recording, esi));
        Store(7, offsetof(Recording, edi));
        Code({0xC7, 0x83}), Long(kRecordingAt + offsetof(Recording, entry)), Long(field);
        for (uint8_t i = 0; i < 8; ++i) {
            Code({0x8B, 0x46, static_cast<uint8_t>(4 * i)}); // mov eax, [esi + 4i]
            Store(0, offsetof(Recording, atEsi) + 4 * i);
        }
        if (field == offsetof(AF_DriverHeader, GetVideoModeInfo)) {
            Code({0xC7, 0x07}), Long(kModeInfoMark);       // mov dword [edi], mark
            Code({0xC7, 0x47, 0x7C}), Long(kModeInfoMark); // mov dword [edi + 124], mark
        }
        Code({0xB9}), Long(kRecorderEcx);            // mov ecx, 4321h
        Code({0xB8}), Long(kRecorderResult + field); // mov eax, result
        Code({0xC3});                                // ret
    }

    Bytes image_;
};

} // namespace vbeaf_test
