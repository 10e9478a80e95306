// The companion's services over the process-wide emulated PC. Both thunk
// entries decode their arguments into a Call and run it here.
#pragma once

#include "tobrin16/protocol.h"

#include <cstdint>

namespace tobrin16 {

// Arguments in the order of the service's shape. A record argument is the
// guest address of the record; `record[i]` says whether the thunk handed
// that address over (a record that was not handed over is not touched).
struct Call {
    uint32_t value[kMaxArguments] = {};
    bool record[kMaxArguments] = {};
};

// Runs a numbered service (0-18) and gives its result; 0 for numbers that
// are not services.
uint32_t RunService(uint32_t service, const Call& call);

// Call counters, by service number (0-18, 1000, 1001).
void CountCall(uint32_t service);
uint64_t CallsOf(uint32_t service);

} // namespace tobrin16
