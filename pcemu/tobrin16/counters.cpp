// What tests and benchmarks may read of the companion.
#include "services.h"
#include "tobrin16/tobrin16.h"
#include "virtual_buffer.h"

extern "C" uint64_t Tobrin16_ServiceCalls(uint32_t service) {
    return tobrin16::CallsOf(service);
}

extern "C" uint64_t Tobrin16_BankFaults(void) {
    return tobrin16::BankFaults();
}
