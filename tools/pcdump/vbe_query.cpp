#include "vbe_query.h"

#include "pcdump.h"

#include "pcemu/machine.h"

#include <cstdio>
#include <cstring>

namespace pcdump {
namespace {

using Json = nlohmann::ordered_json;

constexpr size_t kMaxString = 256;
constexpr size_t kMaxModes = 512;

std::string HexMode(unsigned mode) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", mode);
    return buf;
}

// Real-mode memory the calls fill in.
class Buffer {
public:
    explicit Buffer(pcemu::Machine& pc) : pc_(pc) {
        auto seg = pc.allocReal(kSize);
        if (!seg) throw Failure("no conventional memory for a buffer");
        segment_ = *seg;
    }
    ~Buffer() { pc_.freeReal(segment_); }
    uint16_t segment() const { return segment_; }
    uint8_t* data() { return pc_.hostPointer(uint32_t{segment_} << 4); }
    uint8_t u8(size_t at) { return data()[at]; }
    uint16_t u16(size_t at) { return static_cast<uint16_t>(u8(at) | (u8(at + 1) << 8)); }
    uint32_t u32(size_t at) { return u16(at) | (uint32_t{u16(at + 2)} << 16); }
    void clear() { std::memset(data(), 0, kSize); }

private:
    static constexpr uint32_t kSize = 1024;
    pcemu::Machine& pc_;
    uint16_t segment_ = 0;
};

uint32_t FarToLinear(uint32_t farPointer) {
    return ((farPointer >> 16) << 4) + (farPointer & 0xFFFF);
}

// A zero-terminated string behind a real-mode far pointer (null when the
// pointer is zero), read through the memory bus and cut at kMaxString.
// Bytes above 7Fh are taken as Latin-1, so the JSON stays valid UTF-8.
Json FarString(pcemu::Machine& pc, uint32_t farPointer) {
    if (farPointer == 0) return nullptr;
    std::string s;
    uint32_t at = FarToLinear(farPointer);
    for (size_t i = 0; i < kMaxString; ++i) {
        uint8_t c = pc.memory().read8(at + static_cast<uint32_t>(i));
        if (c == 0) break;
        if (c < 0x80) {
            s.push_back(static_cast<char>(c));
        } else {
            s.push_back(static_cast<char>(0xC0 | (c >> 6)));
            s.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return s;
}

pcemu::CpuRegs Call(pcemu::Machine& pc, pcemu::CpuRegs regs, const char* what) {
    pcemu::RunResult r = pc.int86(0x10, regs);
    if (!r.ok()) throw Failure(std::string(what) + ": " + r.message);
    return regs;
}

Json ControllerInfo(pcemu::Machine& pc, Buffer& buf, std::vector<uint16_t>& modes) {
    buf.clear();
    std::memcpy(buf.data(), "VBE2", 4);
    pcemu::CpuRegs r;
    r.eax = 0x4F00;
    r.es = buf.segment();
    r = Call(pc, r, "AX=4F00h");
    if (r.ax() != 0x004F || std::memcmp(buf.data(), "VESA", 4) != 0) return nullptr;
    uint16_t version = buf.u16(0x04);
    Json vbe;
    vbe["VbeVersion"] = version;
    vbe["OemString"] = FarString(pc, buf.u32(0x06));
    bool v2 = version >= 0x0200;
    vbe["OemVendorName"] = v2 ? FarString(pc, buf.u32(0x16)) : Json(nullptr);
    vbe["OemProductName"] = v2 ? FarString(pc, buf.u32(0x1A)) : Json(nullptr);
    vbe["OemProductRev"] = v2 ? FarString(pc, buf.u32(0x1E)) : Json(nullptr);
    vbe["Capabilities"] = buf.u32(0x0A);
    vbe["TotalMemory"] = buf.u16(0x12);
    uint32_t list = FarToLinear(buf.u32(0x0E));
    for (size_t i = 0; i < kMaxModes; ++i) {
        uint16_t mode = pc.memory().read16(list + static_cast<uint32_t>(2 * i));
        if (mode == 0xFFFF) break;
        modes.push_back(mode);
    }
    vbe["modes"] = modes;
    return vbe;
}

Json ModeInfo(pcemu::Machine& pc, Buffer& buf, uint16_t mode) {
    buf.clear();
    pcemu::CpuRegs r;
    r.eax = 0x4F01;
    r.ecx = mode;
    r.es = buf.segment();
    r = Call(pc, r, "AX=4F01h");
    Json m;
    if (r.ax() != 0x004F) {
        m["status"] = r.ax();
        return m;
    }
    m["ModeAttributes"] = buf.u16(0x00);
    m["WinAAttributes"] = buf.u8(0x02);
    m["WinBAttributes"] = buf.u8(0x03);
    m["WinGranularity"] = buf.u16(0x04);
    m["WinSize"] = buf.u16(0x06);
    m["WinASegment"] = buf.u16(0x08);
    m["WinBSegment"] = buf.u16(0x0A);
    m["WinFuncPtr"] = buf.u32(0x0C);
    m["BytesPerScanLine"] = buf.u16(0x10);
    m["XResolution"] = buf.u16(0x12);
    m["YResolution"] = buf.u16(0x14);
    m["XCharSize"] = buf.u8(0x16);
    m["YCharSize"] = buf.u8(0x17);
    m["NumberOfPlanes"] = buf.u8(0x18);
    m["BitsPerPixel"] = buf.u8(0x19);
    m["NumberOfBanks"] = buf.u8(0x1A);
    m["MemoryModel"] = buf.u8(0x1B);
    m["BankSize"] = buf.u8(0x1C);
    m["NumberOfImagePages"] = buf.u8(0x1D);
    m["RedMaskSize"] = buf.u8(0x1F);
    m["RedFieldPosition"] = buf.u8(0x20);
    m["GreenMaskSize"] = buf.u8(0x21);
    m["GreenFieldPosition"] = buf.u8(0x22);
    m["BlueMaskSize"] = buf.u8(0x23);
    m["BlueFieldPosition"] = buf.u8(0x24);
    m["RsvdMaskSize"] = buf.u8(0x25);
    m["RsvdFieldPosition"] = buf.u8(0x26);
    m["DirectColorModeInfo"] = buf.u8(0x27);
    m["PhysBasePtr"] = buf.u32(0x28);
    return m;
}

Json PmTable(pcemu::Machine& pc) {
    pcemu::CpuRegs r;
    r.eax = 0x4F0A;
    r = Call(pc, r, "AX=4F0Ah");
    if (r.ax() != 0x004F) return nullptr;
    uint32_t at = (uint32_t{r.es} << 4) + r.di();
    Json words = Json::array();
    for (uint32_t i = 0; i < 4; ++i)
        words.push_back(pc.memory().read16(at + 2 * i));
    Json t;
    t["length"] = r.cx();
    t["words"] = words;
    return t;
}

} // namespace

Json DescribeVbe(pcemu::Machine& pc) {
    Buffer buf(pc);
    std::vector<uint16_t> modes;
    Json out;
    out["bios"] = pc.bios().name();
    out["vbe"] = ControllerInfo(pc, buf, modes);
    Json info = Json::object();
    for (uint16_t mode : modes)
        info[HexMode(mode)] = ModeInfo(pc, buf, mode);
    out["modeInfo"] = info;
    out["pmTable"] = out["vbe"].is_null() ? Json(nullptr) : PmTable(pc);
    return out;
}

} // namespace pcdump
