#include "core/firmware.h"

#include "pcemu/cpu.h"
#include "pcemu/layout.h"
#include "pcemu/memory_bus.h"

namespace pcemu {
namespace {

constexpr uint32_t kSystemBios = uint32_t{kSystemBiosSegment} << 4;
constexpr uint32_t kCarryVector = (uint32_t{kSystemBiosSegment} << 16) | Cpu::kCarryStub;

void SetVector(MemoryBus& memory, uint8_t n, uint32_t farAddress) {
    memory.write32(n * 4u, farAddress);
}

void InstallBiosData(MemoryBus& memory) {
    constexpr uint32_t bda = kBiosDataArea;
    memory.write16(bda + 0x0E, kEbdaSegment); // extended BIOS data area
    memory.write16(bda + 0x10, 0x0020);       // equipment: 80 x 25 colour display
    memory.write16(bda + 0x13, 639);          // base memory in KB
    memory.write8(bda + 0x49, 0x03);          // video mode
    memory.write16(bda + 0x4A, 80);           // columns
    memory.write16(bda + 0x4C, 4096);         // page size
    memory.write16(bda + 0x63, 0x3D4);        // CRT controller port
    memory.write8(bda + 0x84, 24);            // rows - 1
    memory.write16(bda + 0x85, 16);           // character height
    memory.write8(bda + 0x87, 0x60);
    memory.write8(bda + 0x88, 0x09);
    memory.write8(bda + 0x89, 0x11);
    memory.write8(uint32_t{kEbdaSegment} << 4, 1); // EBDA size in KB
    memory.write8(kSystemBios + 0xFFFE, 0xFC);     // machine model: AT
}

// Interrupt 21h: set vector (AH=25h, DS:DX) and get vector (AH=35h, ES:BX).
void InstallDos(MemoryBus& memory, Cpu& cpu) {
    uint32_t dos = cpu.addTrap(Cpu::TrapReturn::Interrupt, [&memory](CpuRegs& r) {
        uint32_t slot = r.al() * 4u;
        if (r.ah() == 0x25) {
            memory.write16(slot, r.dx());
            memory.write16(slot + 2, r.ds);
            r.setCarry(false);
        } else if (r.ah() == 0x35) {
            r.setBx(memory.read16(slot));
            r.es = memory.read16(slot + 2);
            r.setCarry(false);
        } else {
            r.setAx(0x0001); // invalid function
            r.setCarry(true);
        }
    });
    SetVector(memory, 0x21, dos);
}

} // namespace

void InstallFirmware(MemoryBus& memory, Cpu& cpu) {
    memory.write8(kSystemBios + Cpu::kIretStub, 0xCF); // iret
    const uint8_t carry[] = {0xF9, 0xCA, 0x02, 0x00};  // stc; retf 2
    memory.writeBlock(kSystemBios + Cpu::kCarryStub, carry, sizeof carry);
    for (unsigned n = 0; n < 256; ++n)
        SetVector(memory, static_cast<uint8_t>(n), Cpu::defaultVector());
    SetVector(memory, 0x15, kCarryVector);
    SetVector(memory, 0x1A, kCarryVector);
    InstallBiosData(memory);
    InstallDos(memory, cpu);
}

} // namespace pcemu
