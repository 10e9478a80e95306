#include "fake_ui.h"
#include "formats/tilepalette.h"
#include "mapedit/core/editor.h"
#include "mapedit/core/errors.h"
#include "mapedit/core/tilecollection.h"

#include <gtest/gtest.h>

using namespace mapedit;
using mapedit::testing::FakeUi;
using mapedit::testing::TempDir;

namespace {

// A 32 x 32 tile whose every pixel is `colour`, with pixel (0, 0) marking it.
TDIB Tile(uint8_t colour) {
    TDIB t(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            t.SetPixel(x, y, colour);
    return t;
}

uint8_t SlotColour(const TTileCollection& tiles, int slot) {
    return tiles.Strip().Pixel(5, 32 * slot + 5);
}

struct Collection {
    FakeUi ui;
    TColourTable colours;
    TTileCollection tiles{colours, ui};
    void Put(int slot, int32_t id, uint8_t colour) { tiles.SetTile(Tile(colour), slot, id); }
};

} // namespace

TEST(TileCollection, LookupsByIdAndBlankTiles) {
    Collection c;
    EXPECT_EQ(c.tiles.FindSlot(0), 0);
    c.Put(3, 7, 30);
    c.Put(12, 7, 120);
    c.Put(1022, 9, 90);
    EXPECT_EQ(c.tiles.FindSlot(7), 3);
    EXPECT_EQ(c.tiles.CountCopies(7), 2);
    EXPECT_EQ(c.tiles.FindSlot(9), 1022);
    EXPECT_EQ(c.tiles.FindSlot(70000), 0);
    c.tiles.SetId(40, 70000);
    EXPECT_EQ(c.tiles.FindSlot(70000), 40);
    c.tiles.SetId(1023, 11); // slot 1023 has an ID but is never found
    c.tiles.SetId(0, 12);
    EXPECT_EQ(c.tiles.FindSlot(11), 0);
    EXPECT_EQ(c.tiles.FindSlot(12), 0);
    EXPECT_EQ(c.tiles.CountCopies(0), 1022 - 4);

    // A blank source leaves slot and ID alone; a small one leaves the rest 0.
    c.tiles.SetTile(TDIB(32, 32), 3, 99);
    EXPECT_EQ(c.tiles.Id(3), 7);
    EXPECT_EQ(SlotColour(c.tiles, 3), 30);
    TDIB small(4, 4);
    small.SetPixel(3, 3, 50);
    c.tiles.SetTile(small, 3, 8);
    EXPECT_EQ(c.tiles.Id(3), 8);
    EXPECT_EQ(c.tiles.Strip().Pixel(3, 96 + 3), 50);
    EXPECT_EQ(SlotColour(c.tiles, 3), 0);
    EXPECT_EQ(c.tiles.FindSlot(7), 12); // the lookup follows the change
    // Only the block a tile is cut from counts: pixels right of it do not.
    TDIB wide(64, 32);
    wide.SetPixel(40, 0, 9);
    EXPECT_TRUE(TTileCollection::IsBlank(wide));
    wide.SetPixel(31, 31, 9);
    EXPECT_FALSE(TTileCollection::IsBlank(wide));

    c.tiles.ClearIds();
    EXPECT_EQ(c.tiles.FindSlot(7), 0);
}

TEST(TileCollection, DrawsTilesByIdOpaqueTransparentAndShaded) {
    Collection c;
    TDIB top(32, 32);
    top.SetPixel(1, 0, 60);
    top.SetPixel(2, 0, 4); // shade: four levels darker
    c.tiles.SetTile(top, 2, 6);
    c.Put(1, 5, 0x27);

    TDIB cell(32, 32);
    cell.ShadeMode = true;
    c.tiles.DrawTileById(cell, 0, 0, 5);
    c.tiles.DrawTileTransparentById(cell, 0, 0, 6);
    EXPECT_EQ(cell.Pixel(0, 0), 0x27);
    EXPECT_EQ(cell.Pixel(1, 0), 60);
    EXPECT_EQ(cell.Pixel(2, 0), 0x23);
    c.tiles.DrawTileTransparentById(cell, 0, 0, 0);
    c.tiles.DrawTileTransparentById(cell, 0, 0, 444);
    EXPECT_EQ(cell.Pixel(0, 0), 0x27);
    // ID 0 or an unknown ID clears the cell.
    c.tiles.DrawTileById(cell, 0, 0, 444);
    EXPECT_EQ(cell.Pixel(1, 0), 0);
    c.tiles.DrawTileById(cell, 0, 0, 5);
    c.tiles.DrawTileById(cell, 0, 0, 0);
    EXPECT_EQ(cell.Pixel(0, 0), 0);

    std::array<uint32_t, 256> rgb{};
    rgb[0x27] = 0xFF123456u;
    std::vector<uint32_t> pixels(32 * 16, 1);
    RgbTarget target{pixels.data(), 32, 16, 32};
    c.tiles.SetId(0, 5);
    c.tiles.DrawPaletteCell(target, 0, 0, 0, rgb);  // slot 0: black whatever its ID
    c.tiles.DrawPaletteCell(target, 16, 0, 1, rgb); // the tile shrunk
    EXPECT_EQ(pixels[0], kPaletteBlack);
    EXPECT_EQ(pixels[15 * 32 + 15], kPaletteBlack);
    EXPECT_EQ(pixels[16], 0xFF123456u);
    EXPECT_EQ(pixels[15 * 32 + 31], 0xFF123456u);
    c.tiles.DrawPaletteCell(target, 16, 0, 7, rgb); // empty: white
    EXPECT_EQ(pixels[16], kPaletteWhite);
}

TEST(TileCollection, CopySlotRefusesOutOfRangeAndLastCopies) {
    Collection c;
    c.Put(3, 7, 30);
    c.Put(12, 7, 120);
    c.Put(5, 8, 50);
    EXPECT_TRUE(c.tiles.CopySlot(5, 3));
    EXPECT_EQ(c.tiles.Id(3), 8);
    EXPECT_EQ(SlotColour(c.tiles, 3), 50);
    EXPECT_EQ(c.tiles.CountCopies(7), 1);
    // Slot 12 now holds the last 7.
    EXPECT_FALSE(c.tiles.CopySlot(5, 12));
    EXPECT_EQ(c.tiles.Id(12), 7);
    EXPECT_EQ(SlotColour(c.tiles, 12), 120);
    EXPECT_THROW(c.tiles.CopySlotOrThrow(5, 12), ELastOneLeft);
    EXPECT_FALSE(c.tiles.CopySlot(2, 1024));
    EXPECT_FALSE(c.tiles.CopySlot(-1, 2));
    EXPECT_EQ(c.tiles.Id(2), 0);

    // Into slot 1023: the ID goes, no picture; it is never found by ID.
    EXPECT_TRUE(c.tiles.CopySlot(5, 1023));
    EXPECT_EQ(c.tiles.Id(1023), 8);
    // Overwriting the one empty slot left among 1 to 1022 is refused too.
    for (int s = 1; s <= 1022; ++s)
        if (c.tiles.Id(s) == 0 && s != 700) c.tiles.SetId(s, 1000 + s);
    EXPECT_EQ(c.tiles.CountCopies(0), 1);
    EXPECT_FALSE(c.tiles.CopySlot(5, 700));
}

TEST(TileCollection, PalettesRearrangeByIdAndKeepTheirOwnName) {
    TempDir dir;
    Collection c;
    c.Put(1, 7, 70);
    c.Put(2, 8, 80);
    c.Put(3, 9, 90);
    c.tiles.FileName = "tiles.til";
    c.tiles.SavePalette((dir / "a.tpl").string());
    const auto bytes = formats::ReadWholeFile(dir / "a.tpl");
    ASSERT_EQ(bytes.size(), 2060u);
    EXPECT_EQ(bytes[14], 7);
    EXPECT_EQ(bytes[16], 8);
    EXPECT_EQ(bytes[18], 9);
    EXPECT_EQ(c.tiles.FileName, "tiles.til");

    // Load into another arrangement: ID 8 in slot 40, ID 9 nowhere, ID 7 twice.
    Collection d;
    d.Put(40, 8, 81);
    d.Put(4, 7, 71);
    d.Put(6, 7, 72);
    d.Put(50, 5, 55);
    formats::TilePaletteIds ids{};
    ids[1] = 7, ids[2] = 8, ids[3] = 9, ids[10] = 8, ids[1023] = 8;
    formats::WriteTilePalette(dir / "b.tpl", ids);
    d.tiles.LoadPalette((dir / "b.tpl").string());
    EXPECT_EQ(d.tiles.Id(1), 7);
    EXPECT_EQ(SlotColour(d.tiles, 1), 71);
    EXPECT_EQ(d.tiles.Id(2), 8);
    EXPECT_EQ(SlotColour(d.tiles, 2), 81);
    EXPECT_EQ(SlotColour(d.tiles, 10), 81);
    EXPECT_EQ(d.tiles.Id(3), 9);
    EXPECT_EQ(SlotColour(d.tiles, 3), 0);
    EXPECT_EQ(d.tiles.Id(40), 0);
    EXPECT_EQ(d.tiles.Id(1023), 0); // the file's last entry is not read
    EXPECT_EQ(d.tiles.FindSlot(5), 0);
    EXPECT_EQ(d.tiles.FindSlot(8), 2);

    // A file that is no palette empties every ID and says so.
    mapedit::testing::WriteText(dir / "t.til", "BLOKTEXT\nTILE 1 A.PBM\n");
    d.tiles.LoadPalette((dir / "t.til").string());
    EXPECT_TRUE(d.ui.HasMessage("Not a Tile Palette File"));
    EXPECT_EQ(d.tiles.CountCopies(0), 1022);
    EXPECT_EQ(SlotColour(d.tiles, 2), 81); // pictures stay

    // A short or missing file changes nothing and raises.
    c.tiles.SavePalette((dir / "c.tpl").string());
    std::filesystem::resize_file(dir / "c.tpl", 100);
    EXPECT_THROW(c.tiles.LoadPalette((dir / "c.tpl").string()), formats::EInOutError);
    EXPECT_THROW(c.tiles.LoadPalette((dir / "none.tpl").string()), formats::FormatError);
    EXPECT_EQ(c.tiles.Id(2), 8);
}

TEST(PaletteGrid, BlocksCopyOnlyWhatFitsAndTheRightTileMoves) {
    FakeUi ui;
    mapedit::TEditor ed(ui);
    for (int slot = 1; slot < 20; ++slot)
        ed.Tiles.SetId(slot, 100 + slot);
    ed.Tiles.SetId(1, 1000); // slot 1 keeps the only 1000 once slot 59 is overwritten
    ed.Tiles.SetId(59, 1000);
    ed.Selection = {7, 0, 9, 1};
    ed.CopyPaletteBlock({8, 5});
    EXPECT_EQ(ed.Tiles.Id(58), 107);
    EXPECT_EQ(ed.Tiles.Id(59), 108);
    EXPECT_EQ(ed.Tiles.Id(68), 117);
    EXPECT_EQ(ed.Tiles.Id(69), 118);
    EXPECT_EQ(ed.Tiles.Id(60), 0); // the third column is dropped, not wrapped
    EXPECT_EQ(ui.paletteRedrawn, (std::vector<mapedit::CellPos>{{8, 5}, {9, 5}, {8, 6}, {9, 6}}));
    // The only slot holding a tile is never overwritten.
    ed.Selection = {0, 0, 0, 0};
    ed.CopyPaletteBlock({1, 0});
    EXPECT_EQ(ed.Tiles.Id(1), 1000);

    ui.paletteRedrawn.clear();
    ed.PaletteRightClick({3, 2});
    EXPECT_EQ(ed.RightTile, (mapedit::CellPos{3, 2}));
    EXPECT_EQ(ui.paletteRedrawn, (std::vector<mapedit::CellPos>{{0, 0}, {3, 2}}));
    ed.PaletteRightClick({3, 2});
    EXPECT_EQ(ui.paletteRedrawn.size(), 2u);
    ed.PaletteRightClick({10, 2}); // beyond the grid
    EXPECT_EQ(ed.RightTile, (mapedit::CellPos{3, 2}));
}
