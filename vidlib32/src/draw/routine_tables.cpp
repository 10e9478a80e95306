// The drawing routines of each colour depth, as the mode set installs them.
#include "draw/packed_routines.h"
#include "draw/truecolour_routines.h"
#include "state.h"

namespace vidlib32 {
namespace {

// One family of routines per pixel size; 15 and 16 bits share theirs.
struct Families {
    const DepthRoutines* planar;
    const DepthRoutines* bytes1;
    const DepthRoutines* bytes2;
    const DepthRoutines* bytes3;
    const DepthRoutines* bytes4;
};

const DepthRoutines* ForDepth(int32_t pixelBits, const Families& families) {
    switch (pixelBits) {
    case 4:
        return families.planar;
    case 8:
        return families.bytes1;
    case 15:
    case 16:
        return families.bytes2;
    case 24:
        return families.bytes3;
    case 32:
        return families.bytes4;
    default:
        return nullptr;
    }
}

} // namespace

const DepthRoutines* BankedRoutines(int32_t pixelBits) {
    static constexpr DepthRoutines k16{_SV_clear16, _SV_putPixel16, _SV_line16};
    static constexpr DepthRoutines k256{_SV_clear256, _SV_putPixel256, _SV_line256};
    static constexpr DepthRoutines k32k{_SV_clear32k, _SV_putPixel32k, _SV_line32k};
    static constexpr DepthRoutines k16m{_SV_clear16m, _SV_putPixel16m, _SV_line16m};
    static constexpr DepthRoutines k4G{_SV_clear4G, _SV_putPixel4G, _SV_line4G};
    return ForDepth(pixelBits, {&k16, &k256, &k32k, &k16m, &k4G});
}

// 16-colour modes have no linear form: their banked routines stay.
const DepthRoutines* LinearRoutines(int32_t pixelBits) {
    using namespace draw;
    static constexpr DepthRoutines k256{ClearLinear<uint8_t>, PutPixelLinear<uint8_t>,
                                        LineLinear<uint8_t>};
    static constexpr DepthRoutines k32k{ClearLinear<uint16_t>, PutPixelLinear<uint16_t>,
                                        LineLinear<uint16_t>};
    static constexpr DepthRoutines k16m{ClearLinear24, PutPixelLinear24, LineLinear24};
    static constexpr DepthRoutines k4G{ClearLinear<uint32_t>, PutPixelLinear<uint32_t>,
                                       LineLinear<uint32_t>};
    return ForDepth(pixelBits, {nullptr, &k256, &k32k, &k16m, &k4G});
}

} // namespace vidlib32
