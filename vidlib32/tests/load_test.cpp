// Loading and unloading the library hands attach and detach on to the
// protected-mode services, which stay bound while they have a user. This
// program uses the services itself and loads the library at run time.
#include "tobrin32/tobrin32.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

char programTag = 0;

// True while the services are bound to their companion.
bool ServicesBound() {
    uint32_t selector = 0, offset = 0, segment = 0, realOffset = 0;
    if (!TB_allocRealSeg(16, &selector, &offset, &segment, &realOffset)) return false;
    TB_freeRealSeg(selector, offset);
    return true;
}

TEST(LoadAndUnload, TheLibraryIsAUserOfTheServicesWhileLoaded) {
    ASSERT_TRUE(ServicesBound());
    TB_DllEntryPoint(&programTag, TB_DLL_PROCESS_DETACH, nullptr); // this program's own use
    EXPECT_FALSE(ServicesBound());

    void* library = dlopen(VIDLIB32_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_TRUE(ServicesBound());
    ASSERT_EQ(dlclose(library), 0);
    EXPECT_FALSE(ServicesBound());

    TB_DllEntryPoint(&programTag, TB_DLL_PROCESS_ATTACH, nullptr);
    EXPECT_TRUE(ServicesBound());
}

} // namespace
