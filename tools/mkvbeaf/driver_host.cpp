#include "driver_host.h"

namespace mkvbeaf {

AF_DriverHeader& DriverHost::header() const {
    return *reinterpret_cast<AF_DriverHeader*>(pc_.hostPointer(base_));
}

bool DriverHost::load(std::span<const uint8_t> image) {
    if (image.size() < sizeof(AF_DriverHeader)) return false;
    base_ = pc_.space().guestAllocLinear(image.size() + 16).value_or(0);
    if (base_ == 0) return false;
    pc_.memory().writeBlock(base_, image.data(), image.size());
    AF_DriverHeader& h = header();
    for (int i = 0; i < 4; ++i)
        h.IOMemMaps[i] = h.IOMemoryBase[i];
    h.BankedMem = h.BankedBasePtr;
    h.LinearMem = h.LinearBasePtr;
    pcemu::DescriptorTable& gdt = pc_.selectors();
    h.Sel0000h = gdt.create(0, 0xFFFFF).value_or(0);
    h.Sel0040h = gdt.create(0x400, 0xFFFF).value_or(0);
    h.SelA000h = gdt.create(0xA0000, 0xFFFF).value_or(0);
    h.SelB000h = gdt.create(0xB0000, 0xFFFF).value_or(0);
    h.SelC000h = gdt.create(0xC0000, 0xFFFF).value_or(0);
    h.Int86 = pc_.cpu().addTrap32([this](pcemu::CpuRegs& r) { bridge(r, true); });
    h.CallRealMode = pc_.cpu().addTrap32([this](pcemu::CpuRegs& r) { bridge(r, false); });
    return h.Int86 != 0 && h.CallRealMode != 0;
}

uint32_t DriverHost::init() {
    pcemu::CpuRegs r;
    r.ebx = base_;
    lastRun_ = pc_.call32(base_ + header().InitDriver, r);
    return r.eax;
}

uint32_t DriverHost::call(uint32_t AF_DriverHeader::*field, pcemu::CpuRegs& regs) {
    uint32_t entry = header().*field;
    if (entry == 0) {
        lastRun_ = {};
        lastRun_.status = pcemu::RunStatus::BadState;
        lastRun_.message = "entry absent";
        return ~0u;
    }
    regs.ebx = base_;
    lastRun_ = pc_.call32(entry, regs);
    return regs.eax;
}

// The structure at EDI goes to a real-mode interrupt (BL) or far call (its
// CS:IP) with its low 16 bits, and comes back the same way.
void DriverHost::bridge(pcemu::CpuRegs& r, bool interrupt) {
    AF_RMRegs rm;
    pc_.memory().readBlock(r.edi, &rm, sizeof rm);
    bridgeCalls.push_back({interrupt, r.bl(), static_cast<uint16_t>(rm.eax)});
    pcemu::CpuRegs real;
    real.eax = rm.eax & 0xFFFF;
    real.ebx = rm.ebx & 0xFFFF;
    real.ecx = rm.ecx & 0xFFFF;
    real.edx = rm.edx & 0xFFFF;
    real.esi = rm.esi & 0xFFFF;
    real.edi = rm.edi & 0xFFFF;
    real.es = rm.es;
    real.ds = rm.ds;
    pcemu::RunResult run = interrupt ? pc_.int86(r.bl(), real) : pc_.farCall(rm.cs, rm.ip, real);
    if (!run.ok()) {
        pc_.cpu().failRun("real-mode bridge: " + run.message);
        return;
    }
    rm.eax = real.ax();
    rm.ebx = real.bx();
    rm.ecx = real.cx();
    rm.edx = real.dx();
    rm.esi = real.si();
    rm.edi = real.di();
    rm.es = real.es;
    rm.ds = real.ds;
    pc_.memory().writeBlock(r.edi, &rm, sizeof rm);
}

} // namespace mkvbeaf
