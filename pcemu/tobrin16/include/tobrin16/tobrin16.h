#pragma once
// The protected-mode companion that tobrin32 binds to when it is loaded. Its
// services run on the process-wide emulated PC. Service numbers, the
// SharedBlock layout and the argument shapes are in tobrin16/protocol.h.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Flat-thunk entry: the arguments of `service` lie in SharedBlock; the result
// is written to its offset 0 and returned. Service 1000 starts the block and
// returns its real-mode segment (0 on failure); 1001 releases it.
uint32_t FLATTHUNK(uint32_t service);

// Universal-thunk entry: `arguments` holds the service's 32-bit arguments in
// order (null for services without any); `translationList` is a null-
// terminated list of the addresses of those entries that hold guest
// addresses of records. A record entry not in the list is not used. Returns
// the service's result.
uint32_t UTProc(uint32_t* arguments, uint32_t service, uint32_t** translationList);

// For tests and benchmarks: how often each service ran (flat or universal),
// how many entries the last universal call's translation list named, the
// real-mode segment of SharedBlock (0 when none), and how many bank faults
// the virtual linear buffer has handled.
uint64_t Tobrin16_ServiceCalls(uint32_t service);
uint32_t Tobrin16_LastTranslationCount(void);
uint32_t Tobrin16_SharedBlockSegment(void);
uint64_t Tobrin16_BankFaults(void);

#ifdef __cplusplus
}
#endif
