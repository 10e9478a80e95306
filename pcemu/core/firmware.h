// The system side of the PC that a video BIOS expects: interrupt table,
// BIOS data area, system BIOS stubs in segment F000h, a minimal DOS.
#pragma once

namespace pcemu {

class MemoryBus;
class Cpu;

void InstallFirmware(MemoryBus& memory, Cpu& cpu);

} // namespace pcemu
