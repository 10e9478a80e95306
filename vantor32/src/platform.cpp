#include "vantor32/platform.h"
#include "vantor32/fakeplatform.h"

namespace vantor32 {

namespace {
const Platform* installed = nullptr;

FakePlatform& DefaultFake() {
    static FakePlatform fake;
    return fake;
}
} // namespace

void InstallPlatform(const Platform* platform) {
    installed = platform;
}

const Platform& CurrentPlatform() {
    return installed ? *installed : DefaultFake().Ops();
}

} // namespace vantor32
