// Loading drivers: the candidate files in their order and how DOS names
// find host folders, every status with its message, the checks on short
// and foreign files, and the mappings and selectors made once per process.
#include "driver_files.h"
#include "pcemu/accel.h"
#include "pcemu/descriptors.h"
#include "pcemu/machine.h"
#include "state.h"
#include "vbeaf/driver_file.h"
#include "vbeaf/prepare_driver.h"

#include <algorithm>
#include <cstdio>

namespace vbeaf_test {
namespace {

using vidlib32::vbeaf::DriverCandidates;
using vidlib32::vbeaf::ReadDriverImage;

constexpr size_t kDriverRev = offsetof(AF_DriverHeader, DriverRev);

// The reference image marked with its own DriverRev.
Bytes Marked(uint32_t revision) {
    return Patched(ReferenceImage(), kDriverRev, revision);
}

// DriverRev of the driver that loaded (unloaded again), or the status when
// none did, as a negative number.
int64_t LoadedRevision(const char* directory) {
    AF_DriverHeader* driver = AF_loadDriver(directory);
    if (!driver) return -AF_status();
    const uint32_t revision = driver->DriverRev;
    AF_unloadDriver(driver);
    EXPECT_EQ(AF_status(), 0);
    return revision;
}

class AfLoader : public ::testing::Test {
protected:
    OnlyTheGivenFolder only;
};

TEST_F(AfLoader, CandidatesAreDriveCThenVbeafPathThenTheFolderGiven) {
    TempDir driveC, path, given;
    driveC.put(Marked(0xC), "vbeaf.drv"); // names match in any case
    path.put(Marked(0xB));
    given.put(Marked(0xD));
    ScopedEnv c("PCEMU_DRIVE_C", driveC.str());
    {
        // A VBEAF_PATH without a trailing separator, written with backslashes.
        std::string dosPath = path.str();
        std::replace(dosPath.begin(), dosPath.end(), '/', '\\');
        ScopedEnv p("VBEAF_PATH", dosPath);
        EXPECT_EQ(LoadedRevision(given.str().c_str()), 0xC);
        fs::remove(driveC.path() / "vbeaf.drv");
        EXPECT_EQ(LoadedRevision(given.str().c_str()), 0xB);
        EXPECT_EQ(LoadedRevision(nullptr), 0xB);
    }
    EXPECT_EQ(LoadedRevision((given.str() + "/").c_str()), 0xD);
    EXPECT_EQ(LoadedRevision(nullptr), -AF_STATUS_NOT_FOUND);
    EXPECT_STREQ(AF_errorMsg(AF_status()), "Driver file not found");

    // Drive C is a folder only when PCEMU_DRIVE_C names one, and only drive C.
    driveC.put(Marked(0xE), "sub/VBEAF.DRV");
    EXPECT_EQ(LoadedRevision("C:\\SUB"), 0xE);
    EXPECT_EQ(LoadedRevision("d:\\sub"), -AF_STATUS_NOT_FOUND);
    ScopedEnv noDrive("PCEMU_DRIVE_C", std::nullopt);
    EXPECT_EQ(LoadedRevision("c:\\sub"), -AF_STATUS_NOT_FOUND);
}

TEST_F(AfLoader, NamesOver260BytesAndFilesThatAreNoRegularFileAreNoCandidates) {
    TempDir deep;
    fs::path folder = deep.path();
    while (folder.string().size() + sizeof "/VBEAF.DRV" <= 260)
        folder /= std::string(60, 'x');
    WriteFile(folder / "VBEAF.DRV", ReferenceImage());
    const std::vector<std::string> names = DriverCandidates(folder.c_str());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "c:\\VBEAF.DRV");
    EXPECT_EQ(LoadedRevision(folder.c_str()), -AF_STATUS_NOT_FOUND);
    EXPECT_EQ(LoadedRevision(folder.parent_path().c_str()), -AF_STATUS_NOT_FOUND);

    TempDir odd;
    fs::create_directories(odd.path() / "VBEAF.DRV");
    EXPECT_EQ(LoadedRevision(odd.str().c_str()), -AF_STATUS_NOT_FOUND);
}

TEST_F(AfLoader, EveryFailureHasItsStatusAndMessage) {
    struct Case {
        const char* what;
        Bytes image;
        int32_t status;
    };
    const Bytes reference = ReferenceImage();
    const Case cases[] = {
        {"init fails", ReferenceImage({.fault = mkvbeaf::Fault::InitFails}), 1},
        {"no terminator", ReferenceImage({.fault = mkvbeaf::Fault::NoTerminator}), 3},
        {"shorter than the header", Bytes(reference.begin(), reference.begin() + 0x200), 3},
        {"InitDriver outside the image",
         Patched(reference, offsetof(AF_DriverHeader, InitDriver), 0x100000), 3},
        {"version 0.90", ReferenceImage({.fault = mkvbeaf::Fault::OldVersion}), 5},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.put(c.image);
        EXPECT_EQ(LoadedRevision(dir.str().c_str()), -c.status) << c.what;
        EXPECT_EQ(AF_status(), c.status) << c.what;
    }
    TempDir huge; // a sparse file larger than the guest heap
    fs::resize_file(huge.put(reference), 32u << 20);
    EXPECT_EQ(LoadedRevision(huge.str().c_str()), -AF_STATUS_NO_MEMORY);

    const char* messages[] = {"No error",
                              "Graphics hardware not detected",
                              "Driver file not found",
                              "File loaded was not a driver file",
                              "Not enough memory to load driver",
                              "Driver file is an older version",
                              "Could not map physical memory areas"};
    for (int32_t status = 0; status <= 6; ++status)
        EXPECT_STREQ(AF_errorMsg(status), messages[status]);
    EXPECT_STREQ(AF_errorMsg(7), "Unknown error!");
    EXPECT_STREQ(AF_errorMsg(-1), "Unknown error!");
}

// A stream that reports a length of `claimed` bytes but ends after `real`.
struct ShortStream {
    size_t claimed, real, at = 0;
};

ssize_t ReadShort(void* cookie, char* to, size_t n) {
    auto* s = static_cast<ShortStream*>(cookie);
    const size_t left = s->at < s->real ? s->real - s->at : 0;
    const size_t done = std::min(n, left);
    std::memset(to, 'V', done);
    s->at += done;
    return static_cast<ssize_t>(done);
}

int SeekShort(void* cookie, off64_t* offset, int whence) {
    auto* s = static_cast<ShortStream*>(cookie);
    s->at = static_cast<size_t>(whence == SEEK_END   ? s->claimed + *offset
                                : whence == SEEK_CUR ? s->at + *offset
                                                     : *offset);
    *offset = static_cast<off64_t>(s->at);
    return 0;
}

TEST_F(AfLoader, AReadThatStopsShortIsNoDriverFile) {
    ShortStream stream{.claimed = 4096, .real = 1000};
    std::FILE* file = fopencookie(&stream, "rb", {ReadShort, nullptr, SeekShort, nullptr});
    ASSERT_NE(file, nullptr);
    const vidlib32::vbeaf::LoadedImage loaded = ReadDriverImage(file);
    EXPECT_EQ(loaded.image, nullptr);
    EXPECT_EQ(loaded.status, AF_STATUS_NOT_A_DRIVER);
    EXPECT_EQ(stream.at, 1000u); // read up to the end, not past it

    ShortStream whole{.claimed = 100, .real = 100};
    file = fopencookie(&whole, "rb", {ReadShort, nullptr, SeekShort, nullptr});
    const vidlib32::vbeaf::LoadedImage read = ReadDriverImage(file);
    ASSERT_NE(read.image, nullptr);
    EXPECT_EQ(read.length, 100u);
    const auto* bytes = reinterpret_cast<const uint8_t*>(read.image);
    EXPECT_EQ(bytes[99], 'V');
    for (int i = 100; i < 116; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    AF_unloadDriver(read.image);
}

// The first driver's mappings and selectors go to every later one, even
// one whose header names other areas.
TEST_F(AfLoader, LaterDriversGetTheFirstOnesMappingsAndSelectors) {
    AF_DriverHeader* first = LoadImage(ReferenceImage());
    ASSERT_NE(first, nullptr);
    Bytes other = Patched(ReferenceImage(), offsetof(AF_DriverHeader, BankedBasePtr), 0xB0000);
    other = Patched(other, offsetof(AF_DriverHeader, IOMemoryBase), 0xF0300000);
    AF_DriverHeader* second = LoadImage(other);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::memcmp(first->IOMemMaps, second->IOMemMaps, sizeof first->IOMemMaps), 0);
    EXPECT_EQ(second->IOMemMaps[0], pcemu::kAccelRegisterBase);
    EXPECT_EQ(second->BankedMem, 0xA0000u);
    EXPECT_EQ(second->LinearMem, 0xE0000000u);
    const uint32_t* a = &first->Sel0000h;
    const uint32_t* b = &second->Sel0000h;
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(a[i], 0u);
        EXPECT_EQ(a[i], b[i]) << "selector " << i;
    }
    // The selectors cover what their names say.
    const pcemu::DescriptorTable& gdt = pcemu::TheMachine().selectors();
    EXPECT_EQ(gdt.base(static_cast<uint16_t>(second->Sel0040h)), 0x400u);
    EXPECT_EQ(gdt.base(static_cast<uint16_t>(second->SelC000h)), 0xC0000u);
    EXPECT_EQ(gdt.limit(static_cast<uint16_t>(second->Sel0000h)), 0xFFFFFu);
    EXPECT_NE(second->Int86, 0u);
    EXPECT_EQ(first->Int86, second->Int86);
    EXPECT_EQ(first->CallRealMode, second->CallRealMode);
    AF_unloadDriver(first);
    AF_unloadDriver(second);
}

// A mapping that fails leaves nothing cached, so a driver whose areas can
// be mapped still loads after it. Run in a process of its own: any earlier
// load would have filled the cache.
TEST_F(AfLoader, AnUnmappableAreaFailsWithStatus6AndCachesNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir unmappable, good;
    Bytes image =
        Patched(ReferenceImage(), offsetof(AF_DriverHeader, IOMemoryBase) + 4, 0x50000000);
    unmappable.put(Patched(image, offsetof(AF_DriverHeader, IOMemoryLen) + 4, 0x1000));
    good.put(ReferenceImage());
    EXPECT_EXIT(
        {
            const int64_t failed = LoadedRevision(unmappable.str().c_str());
            const int64_t loaded = LoadedRevision(good.str().c_str());
            fs::remove_all(unmappable.path());
            fs::remove_all(good.path());
            std::exit(failed == -AF_STATUS_NO_MAPPING && loaded == 0x100 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace vbeaf_test
