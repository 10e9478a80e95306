// The test programs run on the Bochs VGA BIOS ROM unless PCEMU_BIOS names
// another BIOS. The emulated PC is built when tobrin32 binds, in its load-time
// constructor; an executable's pre-initialisers run before any library's.
#include <cstdlib>

namespace {

void UseBochsRom(int, char**, char**) {
    setenv("PCEMU_BIOS", "rom:bochs", 0);
}

__attribute__((section(".preinit_array"), used)) void (*const useBochsRom)(int, char**,
                                                                           char**) = UseBochsRom;

} // namespace
