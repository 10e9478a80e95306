#include "image.h"

#include "driver_data.h"
#include "driver_image.h"

#include <cstddef>
#include <cstring>

namespace mkvbeaf {
namespace {

template <typename T> void Put(std::vector<uint8_t>& image, size_t offset, T value) {
    std::memcpy(image.data() + offset, &value, sizeof value);
}

} // namespace

std::vector<uint8_t> BuildImage(const ImageOptions& options) {
    std::vector<uint8_t> image(kDriverImage.begin(), kDriverImage.end());
    if (!options.drawLine) Put<uint32_t>(image, offsetof(AF_DriverHeader, DrawLine), 0);
    if (!options.directAccess) {
        Put<uint32_t>(image, offsetof(AF_DriverHeader, EnableDirectAccess), 0);
        Put<uint32_t>(image, offsetof(AF_DriverHeader, DisableDirectAccess), 0);
    }
    if (!options.setBank32) {
        Put<uint32_t>(image, offsetof(AF_DriverHeader, SetBank32), 0);
        Put<uint32_t>(image, offsetof(AF_DriverHeader, SetBank32Len), 0);
    }
    switch (options.fault) {
    case Fault::None:
        break;
    case Fault::NoTerminator:
        image[sizeof AF_SIGNATURE - 1] = '!';
        break;
    case Fault::OldVersion:
        Put<uint32_t>(image, offsetof(AF_DriverHeader, Version), 0x0090);
        break;
    case Fault::InitFails:
        // Built for an engine whose ID this adapter does not give.
        Put<uint32_t>(image, kDriverDataOffset + offsetof(DriverData, engineId), 0x4F4E4F4E);
        break;
    }
    return image;
}

} // namespace mkvbeaf
