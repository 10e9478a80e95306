// InitDriver of the reference driver: the hardware check, the memory size,
// relocation of the header's image offsets (once), and the images mkvbeaf
// writes with entries left out or faults put in.
#include "driver_rig.h"

#include "driver_data.h"

#include <set>

using namespace mkvbeaf_test;

namespace {

uint32_t FieldAt(const AF_DriverHeader& h, size_t offset) {
    uint32_t v;
    std::memcpy(&v, reinterpret_cast<const uint8_t*>(&h) + offset, 4);
    return v;
}

class DriverInitTest : public DriverRig {};

TEST_F(DriverInitTest, RelocatesImageOffsetsOnceAndFindsTheMemory) {
    load();
    const AF_DriverHeader before = header();
    ASSERT_EQ(init(), 0u);
    const AF_DriverHeader& h = header();
    EXPECT_EQ(h.TotalMemory, 4096u);
    EXPECT_EQ(h.LinearSize, 4096u);
    EXPECT_EQ(h.InitDriver, before.InitDriver); // stays an image offset
    EXPECT_EQ(h.AvailableModes, base + before.AvailableModes);
    EXPECT_EQ(h.IOPortsTable, base + before.IOPortsTable);
    EXPECT_EQ(h.SetBank32, base + before.SetBank32);
    int present = 0;
    for (size_t at = offsetof(AF_DriverHeader, GetVideoModeInfo);
         at <= offsetof(AF_DriverHeader, DstTransBltLin); at += 4) {
        uint32_t was = FieldAt(before, at), now = FieldAt(h, at);
        if (was == 0) {
            EXPECT_EQ(now, 0u) << "absent entry at " << at;
        } else {
            EXPECT_EQ(now, base + was) << "entry at " << at;
            ++present;
        }
    }
    EXPECT_EQ(present, 37 - 5); // no gamma, trapezoid, triangle, quad, mono image
    EXPECT_EQ(h.SetGammaCorrectData, 0u);
    EXPECT_EQ(h.PutMonoImage, 0u);

    // The lists the relocated fields point at.
    EXPECT_EQ(pc->memory().read16(h.AvailableModes), 0x100);
    int modes = 0;
    while (pc->memory().read16(h.AvailableModes + 2 * modes) != 0xFFFF && modes < 100)
        ++modes;
    EXPECT_EQ(modes, 21);
    EXPECT_EQ(pc->memory().read16(h.IOPortsTable), 0x1CE);

    // A second InitDriver changes nothing.
    const AF_DriverHeader once = h;
    EXPECT_EQ(init(), 0u);
    EXPECT_EQ(std::memcmp(&once, &header(), sizeof once), 0);
}

TEST_F(DriverInitTest, FailsWhenItsHardwareDoesNotAnswer) {
    mkvbeaf::ImageOptions other;
    other.fault = mkvbeaf::Fault::InitFails;
    load(other);
    const AF_DriverHeader before = header();
    EXPECT_NE(init(), 0u);
    EXPECT_EQ(header().GetVideoModeInfo, before.GetVideoModeInfo); // nothing relocated
    EXPECT_EQ(header().TotalMemory, 0u);

    load();
    header().IOMemMaps[0] = 0; // the loader mapped no register area
    EXPECT_NE(init(), 0u);
    header().IOMemMaps[0] = 0xF0100000; // the Bochs registers: no engine ID there
    EXPECT_NE(init(), 0u);
    header().IOMemMaps[0] = header().IOMemoryBase[0];
    EXPECT_EQ(init(), 0u);
}

TEST_F(DriverInitTest, ImagesLeaveOutEntriesAndCarryFaultsAsAsked) {
    const std::vector<uint8_t> full = mkvbeaf::BuildImage({});
    const auto& h = *reinterpret_cast<const AF_DriverHeader*>(full.data());
    EXPECT_EQ(std::memcmp(h.Signature, "VBEAF.DRV\0", 10), 0);
    EXPECT_EQ(h.Version, 0x0100u);
    EXPECT_EQ(h.IOMemoryBase[0], pcemu::kAccelRegisterBase);
    EXPECT_EQ(h.IOMemoryLen[0], pcemu::kAccelRegisterSize);
    EXPECT_EQ(h.BankedBasePtr, 0xA0000u);
    EXPECT_EQ(h.LinearBasePtr, 0xE0000000u);
    EXPECT_EQ(h.Attributes & (AF_HAVE_ACCEL2D | AF_HAVE_HWCURSOR | AF_HAVE_8BITDAC),
              uint32_t{AF_HAVE_ACCEL2D | AF_HAVE_HWCURSOR | AF_HAVE_8BITDAC});
    EXPECT_NE(h.DrawLine, 0u);
    EXPECT_NE(h.EnableDirectAccess, 0u);
    // SetBank32 ends in its only ret.
    ASSERT_GT(h.SetBank32Len, 1u);
    EXPECT_EQ(full[h.SetBank32 + h.SetBank32Len - 1], 0xC3);

    // Each option changes only its own fields (4-byte words of the image).
    auto changed = [&](const mkvbeaf::ImageOptions& o) {
        std::vector<uint8_t> other = mkvbeaf::BuildImage(o);
        std::set<size_t> words;
        for (size_t i = 0; i < full.size() && i < other.size(); ++i)
            if (full[i] != other[i]) words.insert(i & ~size_t{3});
        EXPECT_EQ(other.size(), full.size());
        return std::pair{other, words};
    };
    using Words = std::set<size_t>;
    mkvbeaf::ImageOptions o;
    o.drawLine = false;
    EXPECT_EQ(changed(o).second, Words{offsetof(AF_DriverHeader, DrawLine)});
    o = {};
    o.directAccess = false;
    EXPECT_EQ(changed(o).second, (Words{offsetof(AF_DriverHeader, EnableDirectAccess),
                                        offsetof(AF_DriverHeader, DisableDirectAccess)}));
    o = {};
    o.setBank32 = false;
    EXPECT_EQ(changed(o).second, (Words{offsetof(AF_DriverHeader, SetBank32Len),
                                        offsetof(AF_DriverHeader, SetBank32)}));
    o = {};
    o.fault = mkvbeaf::Fault::NoTerminator;
    auto [noTerm, w1] = changed(o);
    EXPECT_EQ(w1, Words{8});
    EXPECT_NE(noTerm[9], 0);
    o.fault = mkvbeaf::Fault::OldVersion;
    auto [old, w2] = changed(o);
    EXPECT_EQ(w2, Words{offsetof(AF_DriverHeader, Version)});
    EXPECT_EQ(reinterpret_cast<const AF_DriverHeader*>(old.data())->Version, 0x0090u);
    o.fault = mkvbeaf::Fault::InitFails;
    EXPECT_EQ(changed(o).second, Words{mkvbeaf::kDriverDataOffset});
}

TEST_F(DriverInitTest, LeftOutEntriesStayAbsentAfterRelocation) {
    mkvbeaf::ImageOptions o;
    o.drawLine = false;
    o.directAccess = false;
    o.setBank32 = false;
    loadAndInit(o);
    EXPECT_EQ(header().DrawLine, 0u);
    EXPECT_EQ(header().EnableDirectAccess, 0u);
    EXPECT_EQ(header().DisableDirectAccess, 0u);
    EXPECT_EQ(header().SetBank32, 0u);
    EXPECT_EQ(header().SetBank32Len, 0u);
    EXPECT_NE(header().DrawStippleLine, 0u);
    EXPECT_NE(header().WaitTillIdle, 0u);
}

} // namespace
