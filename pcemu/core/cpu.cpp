#include "pcemu/cpu.h"

#include "pcemu/descriptors.h"
#include "pcemu/layout.h"
#include "pcemu/memory_bus.h"
#include "pcemu/ports.h"

#include <x86emu.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

// x86emu.h defines these as macros; nothing below needs them.
#undef u8
#undef u16
#undef u32
#undef u64
#undef s8
#undef s16
#undef s32
#undef s64

namespace pcemu {
namespace {

constexpr uint32_t kSystemBios = uint32_t{kSystemBiosSegment} << 4;
constexpr uint32_t kReturnLinear = kSystemBios + Cpu::kReturnStub + 1; // after the hlt
constexpr uint32_t kRealStackBase = 0x1000;                            // one 8 KB stack per depth
constexpr uint32_t kRealStackSize = 0x2000;
constexpr uint32_t kPmStackSize = 0x4000;
constexpr uint32_t kUserFlags = 0x0CD5; // CF PF AF ZF SF DF OF
constexpr uint16_t kRealDataAccess = 0x93;
constexpr uint16_t kRealCodeAccess = 0x9B;
constexpr uint8_t kTrapOpcode = 0xE6; // out imm8, al

const char* VectorName(int vector) {
    static constexpr std::array<const char*, 20> names = {
        "#DE", "#DB", "NMI", "#BP", "#OF", "#BR", "#UD", "#NM", "#DF", "CSO",
        "#TS", "#NP", "#SS", "#GP", "#PF", "15",  "#MF", "#AC", "#MC", "#XM"};
    return vector >= 0 && vector < static_cast<int>(names.size()) ? names[vector] : "";
}

std::string Hex(uint32_t v, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*X", digits, v);
    return buf;
}

void SetRealSegment(x86emu_t* emu, int index, uint16_t segment) {
    sel_t& s = emu->x86.seg[index];
    s.sel = segment;
    s.base = uint32_t{segment} << 4;
    s.limit = 0xFFFF;
    s.acc = index == R_CS_INDEX ? kRealCodeAccess : kRealDataAccess;
}

void EnterRealMode(x86emu_t* emu) {
    emu->x86.R_CR0 &= ~1u;
    // Interrupts of real-mode code go through the vector table at 0 again,
    // not through the descriptor table a protected-mode call loaded.
    emu->x86.R_IDT_BASE = 0;
    emu->x86.R_IDT_LIMIT = 0x3FF;
    for (int i = 0; i < 6; ++i)
        SetRealSegment(emu, i, 0);
    emu->x86.R_EFLG = 0x0002;
}

CpuRegs ReadRegs(const x86emu_t* emu) {
    CpuRegs r;
    r.eax = emu->x86.R_EAX;
    r.ebx = emu->x86.R_EBX;
    r.ecx = emu->x86.R_ECX;
    r.edx = emu->x86.R_EDX;
    r.esi = emu->x86.R_ESI;
    r.edi = emu->x86.R_EDI;
    r.ebp = emu->x86.R_EBP;
    r.eflags = emu->x86.R_EFLG;
    r.ds = emu->x86.R_DS;
    r.es = emu->x86.R_ES;
    r.fs = emu->x86.R_FS;
    r.gs = emu->x86.R_GS;
    return r;
}

void LoadGeneral(x86emu_t* emu, const CpuRegs& r) {
    emu->x86.R_EAX = r.eax;
    emu->x86.R_EBX = r.ebx;
    emu->x86.R_ECX = r.ecx;
    emu->x86.R_EDX = r.edx;
    emu->x86.R_ESI = r.esi;
    emu->x86.R_EDI = r.edi;
    emu->x86.R_EBP = r.ebp;
    emu->x86.R_EFLG = (r.eflags & kUserFlags) | 0x0002;
}

void LoadRealSegments(x86emu_t* emu, const CpuRegs& r) {
    SetRealSegment(emu, R_DS_INDEX, r.ds);
    SetRealSegment(emu, R_ES_INDEX, r.es);
    SetRealSegment(emu, R_FS_INDEX, r.fs);
    SetRealSegment(emu, R_GS_INDEX, r.gs);
}

} // namespace

// Per-depth emulator instance and the state of the run it is executing.
struct EmuContext {
    Cpu::Impl* cpu = nullptr;
    int depth = 0;
    x86emu_t* emu = nullptr;
    bool fault = false;
    int vector = -1;
    bool failed = false;
    std::string failure;
};

struct Cpu::Impl {
    Impl(MemoryBus& m, PortBus& p, DescriptorTable& d, uint64_t b)
        : memory(m), ports(p), descriptors(d), bound(b) {}

    MemoryBus& memory;
    PortBus& ports;
    DescriptorTable& descriptors;
    uint64_t bound;
    uint64_t executed = 0;
    int depth = 0; // runs in progress
    std::array<EmuContext, kMaxDepth> contexts;
    std::vector<TrapHandler> traps;
    std::vector<TrapHandler> traps32;
    uint32_t trap32Stubs = 0; // kMaxTraps32 x 4 bytes: out kTrapPort, al; ret; nop

    // Protected-mode area in the guest heap.
    uint32_t idt = 0;
    uint32_t gateStubs = 0; // 256 x 4 bytes: out kTrapPort, al; iretd; nop
    uint32_t pmStubs = 0;   // per depth 16 bytes: call [cs:slot]; hlt | int n; hlt | slot
    uint32_t pmStacks = 0;

    uint32_t callStub(int d) const { return pmStubs + d * 16; }
    uint32_t intStub(int d) const { return callStub(d) + 8; }
    uint32_t callSlot(int d) const { return callStub(d) + 12; }
    uint32_t pmStackTop(int d) const { return pmStacks + (d + 1) * kPmStackSize; }

    void setUp();
    RunResult run(EmuContext& ctx, uint32_t stopAt);
    RunResult callReal(CpuRegs& regs, uint32_t target, bool interrupt);
    template <typename Prepare> RunResult callProtected(CpuRegs& regs, Prepare prepare);
    RunResult beginReal(CpuRegs& regs, EmuContext*& ctx);
    RunResult enterProtected(EmuContext& ctx, CpuRegs& regs);
    void finishProtected(EmuContext& ctx, CpuRegs& regs);
    void push16(x86emu_t* emu, uint16_t v);
    void onTrap(EmuContext& ctx);
    void reflect(EmuContext& ctx, uint8_t vector);
    void fail(EmuContext& ctx, std::string message) {
        ctx.failed = true;
        if (ctx.failure.empty()) ctx.failure = std::move(message);
        x86emu_stop(ctx.emu);
    }
};

namespace {

unsigned AccessSize(unsigned type) {
    switch (type & 0xFF) {
    case X86EMU_MEMIO_16:
        return 2;
    case X86EMU_MEMIO_32:
        return 4;
    default:
        return 1;
    }
}

bool IsFault(unsigned type) {
    return (type & 0xFF) == INTR_TYPE_FAULT || (type & INTR_MODE_RESTART);
}

unsigned Memio(x86emu_t* emu, uint32_t addr, uint32_t* val, unsigned type) {
    auto* ctx = static_cast<EmuContext*>(emu->_private);
    Cpu::Impl& cpu = *ctx->cpu;
    unsigned size = AccessSize(type);
    switch (type & ~0xFFu) {
    case X86EMU_MEMIO_R:
    case X86EMU_MEMIO_X:
        *val = cpu.memory.read(addr, size);
        break;
    case X86EMU_MEMIO_W:
        // The library raises a limit fault before it performs the write;
        // the faulting instruction must leave memory as it was.
        if (!IsFault(emu->x86.intr_type)) cpu.memory.write(addr, *val, size);
        break;
    case X86EMU_MEMIO_I:
        *val = cpu.ports.in(static_cast<uint16_t>(addr), size);
        break;
    case X86EMU_MEMIO_O:
        if (IsFault(emu->x86.intr_type))
            break;
        else if (addr == Cpu::kTrapPort && size == 1)
            cpu.onTrap(*ctx);
        else
            cpu.ports.out(static_cast<uint16_t>(addr), *val, size);
        break;
    }
    return 0;
}

int Intr(x86emu_t* emu, uint8_t num, unsigned type) {
    // Exceptions (and the divide error, which the library raises as a
    // restartable software interrupt) end the run; software interrupts go
    // through the interrupt table or descriptor table as on a real processor.
    if (IsFault(type)) {
        auto* ctx = static_cast<EmuContext*>(emu->_private);
        ctx->fault = true;
        ctx->vector = num;
        x86emu_stop(emu);
        return 1;
    }
    return 0;
}

void FlushLog(x86emu_t*, char* buf, unsigned size) {
    if (buf && size) std::fwrite(buf, 1, size, stderr);
}

} // namespace

void Cpu::Impl::setUp() {
    AddressSpace& space = memory.space();
    idt = space.guestAllocLinear(256 * 8, 8).value_or(0);
    gateStubs = space.guestAllocLinear(256 * 4, 16).value_or(0);
    pmStubs = space.guestAllocLinear(kMaxDepth * 16, 16).value_or(0);
    pmStacks = space.guestAllocLinear(kMaxDepth * kPmStackSize, 16).value_or(0);
    for (unsigned v = 0; v < 256; ++v) {
        uint32_t stub = gateStubs + v * 4;
        memory.write32(stub, kTrapOpcode | (kTrapPort << 8) | (0xCFu << 16) | (0x90u << 24));
        // 32-bit interrupt gate, present, DPL 3 so that int n works at any level.
        memory.write32(idt + v * 8, (stub & 0xFFFF) | (uint32_t{DescriptorTable::kFlatCode} << 16));
        memory.write32(idt + v * 8 + 4, (stub & 0xFFFF0000u) | 0xEE00u);
    }
    for (int d = 0; d < kMaxDepth; ++d) {
        uint32_t s = callStub(d);
        const uint32_t slot = callSlot(d);
        // call dword [cs:slot]; hlt (the caller's DS may be any selector)
        memory.write8(s, 0x2E);
        memory.write8(s + 1, 0xFF);
        memory.write8(s + 2, 0x15);
        memory.write32(s + 3, slot);
        memory.write8(s + 7, 0xF4);
    }
    memory.write8(kSystemBios + Cpu::kReturnStub, 0xF4);

    bool trace = std::getenv("PCEMU_TRACE") != nullptr;
    for (int d = 0; d < kMaxDepth; ++d) {
        EmuContext& ctx = contexts[d];
        ctx.cpu = this;
        ctx.depth = d;
        ctx.emu = x86emu_new(0, 0);
        ctx.emu->_private = &ctx;
        x86emu_set_memio_handler(ctx.emu, Memio);
        x86emu_set_intr_handler(ctx.emu, Intr);
        if (trace) {
            x86emu_set_log(ctx.emu, 1 << 20, FlushLog);
            ctx.emu->log.trace = X86EMU_TRACE_CODE | X86EMU_TRACE_IO | X86EMU_TRACE_INTS;
        }
        EnterRealMode(ctx.emu);
    }
}

RunResult Cpu::Impl::run(EmuContext& ctx, uint32_t stopAt) {
    x86emu_t* emu = ctx.emu;
    ctx.fault = false;
    ctx.vector = -1;
    ctx.failed = false;
    ctx.failure.clear();
    emu->x86.intr_type = 0;
    uint64_t start = emu->x86.R_TSC;
    emu->max_instr = start + bound;
    unsigned stop = x86emu_run(emu, X86EMU_RUN_MAX_INSTR | X86EMU_RUN_LOOP);
    if (emu->log.trace) x86emu_clear_log(emu, 1);

    RunResult r;
    r.instructions = emu->x86.R_TSC - start;
    executed += r.instructions;
    r.address = emu->x86.R_CS_BASE + emu->x86.R_EIP;
    std::string where =
        Hex(emu->x86.R_CS, 4) + ":" + Hex(emu->x86.R_EIP, (emu->x86.R_CR0 & 1) ? 8 : 4);
    if (ctx.failed) {
        r.status = RunStatus::Failed;
        r.message = ctx.failure;
    } else if (ctx.fault) {
        r.status = RunStatus::CpuFault;
        r.vector = ctx.vector;
        r.message = "CPU fault " + std::to_string(ctx.vector);
        if (*VectorName(ctx.vector)) r.message += std::string(" (") + VectorName(ctx.vector) + ")";
        r.message += " at " + where;
    } else if (stop & X86EMU_RUN_MAX_INSTR) {
        r.status = RunStatus::InstructionBound;
        r.message = "instruction bound of " + std::to_string(bound) + " reached at " + where;
    } else if (stop & X86EMU_RUN_LOOP) {
        r.status = RunStatus::Runaway;
        r.message = "runaway code: jump to itself at " + where;
    } else if (r.address != stopAt) {
        r.status = RunStatus::UnexpectedHalt;
        r.message = "hlt at an unexpected place: " + where;
    }
    return r;
}

// Runs real-mode code at target (segment << 16 | offset) that returns to the
// return stub: with iret when `interrupt` (the flags are pushed first, as int
// does), else with retf.
RunResult Cpu::Impl::callReal(CpuRegs& regs, uint32_t target, bool interrupt) {
    EmuContext* ctx = nullptr;
    RunResult r = beginReal(regs, ctx);
    if (!r.ok()) return r;
    x86emu_t* emu = ctx->emu;
    if (interrupt) push16(emu, static_cast<uint16_t>(emu->x86.R_EFLG));
    push16(emu, kSystemBiosSegment);
    push16(emu, Cpu::kReturnStub);
    SetRealSegment(emu, R_CS_INDEX, static_cast<uint16_t>(target >> 16));
    emu->x86.R_EIP = target & 0xFFFF;
    if (interrupt) emu->x86.R_EFLG &= ~0x0300u; // IF and TF
    ++depth;
    r = run(*ctx, kReturnLinear);
    --depth;
    regs = ReadRegs(emu);
    return r;
}

// Runs 32-bit code: prepare(depth) writes the stub for this depth and gives
// where to start and where the final hlt leaves the processor.
template <typename Prepare> RunResult Cpu::Impl::callProtected(CpuRegs& regs, Prepare prepare) {
    EmuContext* ctx = nullptr;
    CpuRegs none;
    RunResult r = beginReal(none, ctx);
    if (r.ok()) r = enterProtected(*ctx, regs);
    if (!r.ok()) return r;
    auto [start, stopAt] = prepare(ctx->depth);
    ctx->emu->x86.R_EIP = start;
    ++depth;
    r = run(*ctx, stopAt);
    --depth;
    finishProtected(*ctx, regs);
    return r;
}

void Cpu::Impl::push16(x86emu_t* emu, uint16_t v) {
    emu->x86.R_SP = static_cast<uint16_t>(emu->x86.R_SP - 2);
    memory.write16(emu->x86.R_SS_BASE + emu->x86.R_SP, v);
}

// Claims the emulator of the next depth and loads the registers for a
// real-mode run on its stack.
RunResult Cpu::Impl::beginReal(CpuRegs& regs, EmuContext*& ctx) {
    if (depth >= kMaxDepth) {
        RunResult r;
        r.status = RunStatus::BadState;
        r.message = "emulated calls nested too deeply";
        return r;
    }
    ctx = &contexts[depth];
    x86emu_t* emu = ctx->emu;
    EnterRealMode(emu);
    LoadGeneral(emu, regs);
    LoadRealSegments(emu, regs);
    uint32_t stack = kRealStackBase + ctx->depth * kRealStackSize;
    SetRealSegment(emu, R_SS_INDEX, static_cast<uint16_t>(stack >> 4));
    emu->x86.R_ESP = kRealStackSize;
    return {};
}

RunResult Cpu::Impl::enterProtected(EmuContext& ctx, CpuRegs& regs) {
    x86emu_t* emu = ctx.emu;
    RunResult bad;
    bad.status = RunStatus::BadState;
    const uint16_t want[4] = {regs.es, regs.ds, regs.fs, regs.gs};
    for (uint16_t sel : want) {
        if (sel != 0 && !descriptors.isValid(sel)) {
            bad.message = "selector " + Hex(sel, 4) + " is not in the descriptor table";
            return bad;
        }
    }
    emu->x86.R_GDT_BASE = descriptors.gdtBase();
    emu->x86.R_GDT_LIMIT = descriptors.gdtLimit();
    emu->x86.R_IDT_BASE = idt;
    emu->x86.R_IDT_LIMIT = 256 * 8 - 1;
    emu->x86.R_CR0 |= 1;
    x86emu_set_seg_register(emu, emu->x86.R_CS_SEL, DescriptorTable::kFlatCode);
    x86emu_set_seg_register(emu, emu->x86.R_SS_SEL, DescriptorTable::kFlatData);
    const int index[4] = {R_ES_INDEX, R_DS_INDEX, R_FS_INDEX, R_GS_INDEX};
    for (int i = 0; i < 4; ++i)
        x86emu_set_seg_register(emu, emu->x86.seg + index[i],
                                want[i] ? want[i] : DescriptorTable::kFlatData);
    LoadGeneral(emu, regs);
    emu->x86.R_ESP = pmStackTop(ctx.depth);
    return {};
}

void Cpu::Impl::finishProtected(EmuContext& ctx, CpuRegs& regs) {
    regs = ReadRegs(ctx.emu);
    EnterRealMode(ctx.emu);
}

void Cpu::Impl::onTrap(EmuContext& ctx) {
    x86emu_t* emu = ctx.emu;
    uint32_t at = emu->x86.R_CS_BASE + emu->x86.R_EIP - 2;
    if (at >= gateStubs && at < gateStubs + 256 * 4 && (at - gateStubs) % 4 == 0) {
        reflect(ctx, static_cast<uint8_t>((at - gateStubs) / 4));
        return;
    }
    if (trap32Stubs != 0 && at >= trap32Stubs && (at - trap32Stubs) % 4 == 0 &&
        (at - trap32Stubs) / 4 < traps32.size()) {
        CpuRegs regs = ReadRegs(emu);
        traps32[(at - trap32Stubs) / 4](regs);
        LoadGeneral(emu, regs);
        return;
    }
    uint32_t first = kSystemBios + kTrapStubs;
    if (at < first || (at - first) % 8 != 0 || (at - first) / 8 >= traps.size()) return;
    bool realMode = (emu->x86.R_CR0 & 1) == 0;
    CpuRegs regs = ReadRegs(emu);
    traps[(at - first) / 8](regs);
    LoadGeneral(emu, regs);
    if (realMode) LoadRealSegments(emu, regs);
}

// A software interrupt in protected mode reached its gate: run the real-mode
// handler the interrupt table names, or report carry when there is none.
void Cpu::Impl::reflect(EmuContext& ctx, uint8_t vector) {
    x86emu_t* emu = ctx.emu;
    uint32_t flagsAt = emu->x86.R_SS_BASE + emu->x86.R_ESP + 8; // eip, cs, eflags
    uint32_t saved = memory.read32(flagsAt);
    if (memory.read32(vector * 4u) == Cpu::defaultVector()) {
        memory.write32(flagsAt, saved | CpuRegs::kCarry);
        return;
    }
    CpuRegs regs = ReadRegs(emu);
    regs.ds = regs.es = regs.fs = regs.gs = 0;
    regs.eflags = saved;
    RunResult r = callReal(regs, memory.read32(vector * 4u), true);
    if (!r.ok()) {
        fail(ctx, "interrupt " + Hex(vector, 2) + "h reflected to real mode: " + r.message);
        return;
    }
    LoadGeneral(emu, regs); // the interrupted flags come back with iretd
    memory.write32(flagsAt, (saved & ~CpuRegs::kCarry) | (regs.eflags & CpuRegs::kCarry));
}

Cpu::Cpu(MemoryBus& memory, PortBus& ports, DescriptorTable& descriptors, uint64_t bound)
    : impl_(std::make_unique<Impl>(memory, ports, descriptors, bound)) {
    impl_->setUp();
}

Cpu::~Cpu() {
    for (auto& ctx : impl_->contexts)
        if (ctx.emu) x86emu_done(ctx.emu);
}

void Cpu::setInstructionBound(uint64_t bound) {
    impl_->bound = bound;
}
uint64_t Cpu::instructionBound() const {
    return impl_->bound;
}
uint64_t Cpu::instructionsExecuted() const {
    return impl_->executed;
}

RunResult Cpu::int86(uint8_t vector, CpuRegs& regs) {
    return impl_->callReal(regs, impl_->memory.read32(vector * 4u), true);
}

RunResult Cpu::farCall(uint16_t segment, uint16_t offset, CpuRegs& regs) {
    return impl_->callReal(regs, (uint32_t{segment} << 16) | offset, false);
}

RunResult Cpu::call32(uint32_t entry, CpuRegs& regs) {
    return impl_->callProtected(regs, [&](int d) {
        impl_->memory.write32(impl_->callSlot(d), entry);
        return std::pair{impl_->callStub(d), impl_->callStub(d) + 8};
    });
}

RunResult Cpu::int386(uint8_t vector, CpuRegs& regs) {
    return impl_->callProtected(regs, [&](int d) {
        uint32_t stub = impl_->intStub(d);
        impl_->memory.write8(stub, 0xCD); // int vector; hlt
        impl_->memory.write8(stub + 1, vector);
        impl_->memory.write8(stub + 2, 0xF4);
        return std::pair{stub, stub + 3};
    });
}

void Cpu::failRun(std::string message) {
    if (impl_->depth > 0) impl_->fail(impl_->contexts[impl_->depth - 1], std::move(message));
}

uint32_t Cpu::addTrap(TrapReturn kind, TrapHandler handler) {
    if (impl_->traps.size() >= kMaxTraps || !handler) return 0;
    uint16_t offset = static_cast<uint16_t>(kTrapStubs + impl_->traps.size() * 8);
    uint32_t at = kSystemBios + offset;
    MemoryBus& m = impl_->memory;
    m.write8(at, kTrapOpcode);
    m.write8(at + 1, kTrapPort);
    if (kind == TrapReturn::Interrupt) {
        m.write8(at + 2, 0xCA); // retf 2
        m.write16(at + 3, 2);
    } else {
        m.write8(at + 2, 0xCB); // retf
    }
    impl_->traps.push_back(std::move(handler));
    return (uint32_t{kSystemBiosSegment} << 16) | offset;
}

uint32_t Cpu::addTrap32(TrapHandler handler) {
    if (impl_->traps32.size() >= kMaxTraps32 || !handler) return 0;
    MemoryBus& m = impl_->memory;
    if (impl_->trap32Stubs == 0) {
        impl_->trap32Stubs = m.space().guestAllocLinear(kMaxTraps32 * 4, 16).value_or(0);
        if (impl_->trap32Stubs == 0) return 0;
    }
    uint32_t at = impl_->trap32Stubs + static_cast<uint32_t>(impl_->traps32.size()) * 4;
    // out kTrapPort, al; ret; nop
    m.write32(at, kTrapOpcode | (kTrapPort << 8) | (0xC3u << 16) | (0x90u << 24));
    impl_->traps32.push_back(std::move(handler));
    return at;
}

} // namespace pcemu
