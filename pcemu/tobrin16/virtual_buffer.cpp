#include "virtual_buffer.h"

#include "tobrin16/protocol.h"

#include "pcemu/fault_chain.h"
#include "pcemu/machine.h"

#include <csignal>
#include <cstring>
#include <ucontext.h>
#include <unistd.h>

namespace tobrin16 {
namespace {

using pcemu::kPieceShift;
using pcemu::kPieceSize;

constexpr uint8_t kReturn = 0xC3;

// Read by the fault handler: plain data, set up before the handler is
// installed and torn down after it is removed.
struct VirtualBuffer {
    pcemu::Machine* pc = nullptr;
    bool active = false;
    uint32_t base = 0; // guest range [base, base + size)
    uint32_t size = 0;
    uint32_t fragment = 0; // guest address of the installed code
    // Banks mapped now: the newest first, then one kept for an access that
    // straddles two banks (-1: none).
    int32_t mapped[2] = {-1, -1};
    uintptr_t lastFaultPc = 0;
    int32_t lastUnmapped = -1;
    uint64_t faults = 0;
    struct sigaction previous = {};
};
VirtualBuffer buffer;

void WriteError(const char* text, const char* detail) {
    // Inside a fault handler: plain writes only.
    ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    ignored = write(STDERR_FILENO, detail, std::strlen(detail));
    ignored = write(STDERR_FILENO, "\n", 1);
    (void)ignored;
}

uintptr_t ProgramCounter(void* context) {
#if defined(__x86_64__)
    return static_cast<uintptr_t>(static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    return static_cast<uintptr_t>(static_cast<ucontext_t*>(context)->uc_mcontext.pc);
#else
    (void)context;
    return 0;
#endif
}

uint32_t BankAddress(int32_t bank) {
    return buffer.base + (static_cast<uint32_t>(bank) << kPieceShift);
}

// Moves the window to `bank` with the installed code and maps the bank where
// the window now shows video memory. An instruction whose access straddles
// two banks faults on the second, then again on the first: when the same
// instruction faults on the bank just taken away, both stay mapped.
bool MapBank(int32_t bank, uintptr_t pc) {
    pcemu::CpuRegs regs;
    regs.eax = static_cast<uint32_t>(bank);
    const pcemu::RunResult run = buffer.pc->call32(buffer.fragment, regs);
    if (!run.ok()) {
        WriteError("TOBRIN16: the bank-switch code failed: ", run.message.c_str());
        return false;
    }
    const uint32_t window = buffer.pc->space().windowOffset();
    if (!buffer.pc->space().mapVideoPiece(BankAddress(bank), window)) {
        WriteError("TOBRIN16: ", "the window shows no 64 KB piece of video memory");
        return false;
    }
    const bool straddle = pc != 0 && pc == buffer.lastFaultPc && bank == buffer.lastUnmapped;
    const int32_t keep = straddle ? buffer.mapped[0] : -1;
    int32_t unmapped = -1;
    for (int32_t old : {buffer.mapped[1], buffer.mapped[0]}) {
        if (old < 0 || old == keep || old == bank) continue;
        buffer.pc->space().unmapPiece(BankAddress(old));
        unmapped = old;
    }
    buffer.mapped[0] = bank;
    buffer.mapped[1] = keep;
    buffer.lastUnmapped = unmapped;
    buffer.lastFaultPc = pc;
    ++buffer.faults;
    return true;
}

void OnFault(int signal, siginfo_t* info, void* context) {
    if (buffer.active) {
        const auto host = reinterpret_cast<uintptr_t>(info->si_addr);
        const auto start = reinterpret_cast<uintptr_t>(buffer.pc->hostPointer(buffer.base));
        if (host >= start && host - start < buffer.size) {
            const auto bank = static_cast<int32_t>((host - start) >> kPieceShift);
            if (bank != buffer.mapped[0] && bank != buffer.mapped[1] &&
                MapBank(bank, ProgramCounter(context)))
                return;
        }
    }
    pcemu::PassOnFault(buffer.previous, signal, info, context);
}

} // namespace

uint32_t StartVirtualBuffer(pcemu::Machine& pc, uint32_t windowBase, uint32_t bankKB,
                            uint32_t codeAt, uint32_t codeLength) {
    // The window at A0000h moves in 64 KB pieces, the unit of every mapping.
    if (windowBase != pcemu::kVgaWindow || uint64_t{bankKB} * 1024 != kPieceSize ||
        codeLength == 0 || codeLength > kMaxFragmentBytes)
        return 0;
    StopVirtualBuffer();
    pcemu::AddressSpace& space = pc.space();
    const auto fragment = space.guestAllocLinear(codeLength + 1);
    if (!fragment) return 0;
    for (uint32_t i = 0; i < codeLength; ++i)
        pc.memory().write8(*fragment + i, pc.memory().read8(codeAt + i));
    pc.memory().write8(*fragment + codeLength, kReturn);
    if (!space.reserveNoAccess(pcemu::kVirtualBufferBase, space.vramSize())) {
        space.guestFree(pc.hostPointer(*fragment));
        return 0;
    }

    buffer.pc = &pc;
    buffer.base = pcemu::kVirtualBufferBase;
    buffer.size = space.vramSize();
    buffer.fragment = *fragment;
    buffer.mapped[0] = buffer.mapped[1] = -1;
    buffer.lastFaultPc = 0;
    buffer.lastUnmapped = -1;
    if (!pcemu::FaultHandlerInstalled(OnFault))
        pcemu::InstallFaultHandler(OnFault, buffer.previous);
    buffer.active = true;
    return buffer.base;
}

void StopVirtualBuffer() {
    if (!buffer.active) return;
    buffer.active = false;
    pcemu::AddressSpace& space = buffer.pc->space();
    space.reserveNoAccess(buffer.base, buffer.size);
    // A handler installed over ours stays; it passes foreign faults on to ours,
    // which passes them on in turn.
    if (pcemu::FaultHandlerInstalled(OnFault)) sigaction(SIGSEGV, &buffer.previous, nullptr);
    space.guestFree(buffer.pc->hostPointer(buffer.fragment));
    buffer.mapped[0] = buffer.mapped[1] = -1;
}

uint64_t BankFaults() {
    return buffer.faults;
}

namespace {
// The fault handler lives in this library: it must not outlive it.
__attribute__((destructor)) void StopOnUnload() {
    StopVirtualBuffer();
}
} // namespace

} // namespace tobrin16
