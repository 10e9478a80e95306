#include "vbeaf/driver_fragment.h"

#include "pcemu/machine.h"

#include <cstring>

namespace vidlib32::vbeaf {
namespace {

constexpr uint32_t kBankCodeBytes = 100;
// push ebx; push ecx; mov edx, eax
constexpr uint8_t kPrologue[] = {0x53, 0x51, 0x8B, 0xD0};
// pop ecx; pop ebx
constexpr uint8_t kEpilogue[] = {0x59, 0x5B};
constexpr uint32_t kFraming = sizeof kPrologue + sizeof kEpilogue - 1; // the return is dropped

uint8_t driverBankCodeArea[kBankCodeBytes];

} // namespace

bool BuildDriverBankFragment(const AF_DriverHeader& driver, int32_t* length, void** code) {
    const uint32_t codeBytes = driver.SetBank32Len;
    if (driver.SetBank32 == 0 || codeBytes == 0 || codeBytes > kBankCodeBytes - kFraming)
        return false;
    uint8_t* at = driverBankCodeArea;
    std::memcpy(at, kPrologue, sizeof kPrologue);
    at += sizeof kPrologue;
    // The code lies in guest memory; read as the processor would.
    pcemu::TheMachine().memory().readBlock(driver.SetBank32, at, codeBytes - 1);
    at += codeBytes - 1;
    std::memcpy(at, kEpilogue, sizeof kEpilogue);
    if (length) *length = static_cast<int32_t>(codeBytes + kFraming);
    if (code) *code = driverBankCodeArea;
    return true;
}

} // namespace vidlib32::vbeaf
