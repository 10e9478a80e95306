// Loading a driver: the first candidate file that opens is read into guest
// memory, checked and prepared, and its InitDriver run; the status of the
// last load and its message.
#include "state.h"
#include "vbe/guest_memory.h"
#include "vbeaf/driver_file.h"
#include "vbeaf/entry_call.h"
#include "vbeaf/prepare_driver.h"
#include "vidlib32/vidlib32.h"

namespace {

using namespace vidlib32;
using namespace vidlib32::vbeaf;

int32_t afStatus = AF_STATUS_OK;

constexpr const char* kMessages[] = {
    "No error",
    "Graphics hardware not detected",
    "Driver file not found",
    "File loaded was not a driver file",
    "Not enough memory to load driver",
    "Driver file is an older version",
    "Could not map physical memory areas",
};

AF_DriverHeader* Fail(int32_t status, AF_DriverHeader* image = nullptr) {
    GuestFree(image);
    afStatus = status;
    return nullptr;
}

} // namespace

extern "C" {

AF_DriverHeader* AF_loadDriver(const char* directory) {
    afStatus = AF_STATUS_OK;
    std::FILE* file = nullptr;
    for (const std::string& candidate : DriverCandidates(directory))
        if ((file = OpenDriverFile(candidate))) break;
    if (!file) return Fail(AF_STATUS_NOT_FOUND);

    const LoadedImage loaded = ReadDriverImage(file);
    if (!loaded.image) return Fail(loaded.status);
    if (int32_t status = PrepareDriver(*loaded.image, loaded.length); status != AF_STATUS_OK)
        return Fail(status, loaded.image);
    if (_AF_initDriver(loaded.image) != 0) return Fail(AF_STATUS_NOT_DETECTED, loaded.image);
    return loaded.image;
}

// A driver the library was told to use is forgotten with it, so that no
// later call runs the freed image: the accelerated routines then do nothing.
void AF_unloadDriver(AF_DriverHeader* driver) {
    if (!driver) return;
    if (gMode.presetDriver == driver) gMode.presetDriver = nullptr;
    if (gDevice.accelDriver == driver) gDevice.accelDriver = nullptr;
    GuestFree(driver);
}

int32_t AF_status(void) {
    return afStatus;
}

const char* AF_errorMsg(int32_t status) {
    if (status < 0 || status >= static_cast<int32_t>(std::size(kMessages))) return "Unknown error!";
    return kMessages[status];
}

// InitDriver is an image offset: the entry is the image's address plus it.
int32_t _AF_initDriver(AF_DriverHeader* driver) {
    const std::optional<uint32_t> base = driver ? GuestOf(driver) : std::nullopt;
    if (!base) return kEntryFailed;
    pcemu::CpuRegs regs;
    return CallEntryAt(*base, *base + driver->InitDriver, regs);
}

} // extern "C"
