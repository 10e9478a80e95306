#include "pcemu/machine.h"

#include <cstdio>
#include <cstdlib>

namespace pcemu {

Machine& TheMachine() {
    // Built once and never destroyed: libraries may still use it while the
    // process exits.
    static Machine* machine = [] {
        MachineOrError made = Machine::Create(MachineConfig::FromEnvironment());
        if (!made) {
            std::fprintf(stderr, "pcemu: %s\n", made.error.c_str());
            std::exit(1);
        }
        return made.machine.release();
    }();
    return *machine;
}

} // namespace pcemu
