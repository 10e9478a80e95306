#include "services.h"

#include "guest_records.h"
#include "real_memory.h"
#include "virtual_buffer.h"

#include "pcemu/machine.h"

#include <array>
#include <cstdio>

namespace tobrin16 {
namespace {

using pcemu::CpuRegs;
using pcemu::Machine;
using pcemu::RunResult;

constexpr uint8_t kVideoInterrupt = 0x10;
constexpr uint16_t kVbeSetWindow = 0x4F05;
constexpr uint16_t kVbeSetDisplayStart = 0x4F07;

// Counters: services 0-18, then 1000 and 1001.
std::array<uint64_t, 21> calls{};

int CounterIndex(uint32_t service) {
    if (service <= kAvailableMemory) return static_cast<int>(service);
    if (service == kStartSharedBlock) return 19;
    if (service == kReleaseSharedBlock) return 20;
    return -1;
}

void ReportRunFailure(const char* what, unsigned number, const RunResult& run) {
    std::fprintf(stderr, "TOBRIN16: %s %02Xh failed: %s\n", what, number, run.message.c_str());
}

// Services 0 and 1: interrupt, registers in and out, segments in and out.
uint32_t RealInterrupt(const Call& call, bool withSegments) {
    if (!call.record[1] || !call.record[2] || (withSegments && !call.record[3])) return 0;
    if (call.value[0] > 0xFF) return 0;
    Machine& pc = pcemu::TheMachine();
    CpuRegs regs = ToCpuRegs(ReadRealRegs(pc.memory(), call.value[1]));
    if (withSegments) LoadSegments(ReadRealSegs(pc.memory(), call.value[3]), regs);
    const uint8_t number = static_cast<uint8_t>(call.value[0]);
    const RunResult run = pc.int86(number, regs);
    if (!run.ok()) ReportRunFailure("real-mode interrupt", number, run);
    const RealRegisters out = FromCpuRegs(regs, run.ok());
    WriteRealRegs(pc.memory(), call.value[2], out);
    if (withSegments) StoreSegments(regs, pc.memory(), call.value[3]);
    return out.ax;
}

// Service 2: far call with registers and segments in and out.
uint32_t RealFarCall(const Call& call) {
    if (!call.record[2] || !call.record[3] || call.value[0] > 0xFFFF || call.value[1] > 0xFFFF)
        return 0;
    Machine& pc = pcemu::TheMachine();
    CpuRegs regs = ToCpuRegs(ReadRealRegs(pc.memory(), call.value[2]));
    LoadSegments(ReadRealSegs(pc.memory(), call.value[3]), regs);
    const RunResult run = pc.farCall(static_cast<uint16_t>(call.value[0]),
                                     static_cast<uint16_t>(call.value[1]), regs);
    if (!run.ok()) ReportRunFailure("real-mode far call to segment", call.value[0], run);
    WriteRealRegs(pc.memory(), call.value[2], FromCpuRegs(regs, run.ok()));
    StoreSegments(regs, pc.memory(), call.value[3]);
    return 0;
}

// Services 15-17: the VBE functions of the video BIOS.
uint32_t VideoBios(uint16_t ax, uint16_t bx, uint16_t cx, uint16_t dx) {
    CpuRegs regs;
    regs.eax = ax;
    regs.ebx = bx;
    regs.ecx = cx;
    regs.edx = dx;
    const RunResult run = pcemu::TheMachine().int86(kVideoInterrupt, regs);
    if (!run.ok()) ReportRunFailure("VBE function", ax & 0xFF, run);
    return regs.ax();
}

// Service 8: guest memory (RAM above 1 MB, the linear frame buffer, device
// register areas) lies at its own address; anything else cannot be mapped.
uint32_t MapPhysical(uint32_t base, uint32_t limit) {
    const uint64_t last = uint64_t{base} + limit;
    if (last > 0xFFFFFFFFu) return 0;
    const pcemu::AddressSpace& space = pcemu::TheMachine().space();
    for (uint64_t piece = base >> pcemu::kPieceShift; piece <= last >> pcemu::kPieceShift; ++piece)
        if (space.kind(static_cast<uint32_t>(piece << pcemu::kPieceShift)) ==
            pcemu::PieceKind::None)
            return 0;
    return base;
}

// Service 18: free conventional memory (what service 5 can still hand out)
// and the whole RAM of the emulated PC, in bytes.
uint32_t AvailableMemory(const Call& call) {
    Machine& pc = pcemu::TheMachine();
    if (call.record[0]) pc.memory().write32(call.value[0], pc.realMemoryFree());
    if (call.record[1]) pc.memory().write32(call.value[1], pcemu::kGuestHeapEnd);
    return 0;
}

uint32_t Selector16(uint32_t value) {
    return value <= 0xFFFF ? value : 0; // 0 is never a valid selector
}

} // namespace

void CountCall(uint32_t service) {
    if (int i = CounterIndex(service); i >= 0) ++calls[i];
}

uint64_t CallsOf(uint32_t service) {
    const int i = CounterIndex(service);
    return i >= 0 ? calls[i] : 0;
}

uint32_t RunService(uint32_t service, const Call& call) {
    const uint32_t* v = call.value;
    pcemu::DescriptorTable& selectors = pcemu::TheMachine().selectors();
    switch (service) {
    case kRealInterrupt:
        return RealInterrupt(call, false);
    case kRealInterruptWithSegments:
        return RealInterrupt(call, true);
    case kRealFarCall:
        return RealFarCall(call);
    case kCreateSelector:
        return selectors.create(v[0], v[1]).value_or(0);
    case kFreeSelector:
        selectors.free(static_cast<uint16_t>(Selector16(v[0])));
        return 0;
    case kAllocRealMemory:
        return AllocRealMemory(call);
    case kFreeRealMemory:
        FreeRealMemory(Selector16(v[0]), v[1]);
        return 0;
    case kMapPhysical:
        return MapPhysical(v[0], v[1]);
    case kSelectorBase:
        return selectors.base(static_cast<uint16_t>(Selector16(v[0]))).value_or(0);
    case kSetSelectorLimit:
        return selectors.setLimit(static_cast<uint16_t>(Selector16(v[0])), v[1]) ? 1 : 0;
    case kVirtualBufferAvailable:
        return 1;
    case kVirtualBufferStart:
        if (!call.record[3]) return 0;
        return StartVirtualBuffer(pcemu::TheMachine(), v[0], v[1], v[3], v[2]);
    case kVirtualBufferStop:
        StopVirtualBuffer();
        return 0;
    case kSetBankA:
        return VideoBios(kVbeSetWindow, 0, 0, static_cast<uint16_t>(v[0]));
    case kSetBankAB:
        VideoBios(kVbeSetWindow, 0, 0, static_cast<uint16_t>(v[0]));
        return VideoBios(kVbeSetWindow, 1, 0, static_cast<uint16_t>(v[0]));
    case kSetDisplayStart:
        return VideoBios(kVbeSetDisplayStart, 0, static_cast<uint16_t>(v[0]),
                         static_cast<uint16_t>(v[1]));
    case kAvailableMemory:
        return AvailableMemory(call);
    default:
        return 0;
    }
}

} // namespace tobrin16
