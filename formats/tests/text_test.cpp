#include "formats/errors.h"
#include "formats/text.h"

#include <gtest/gtest.h>

using namespace formats;

TEST(TextHelpers, SplittingAtCharacterSets) {
    EXPECT_EQ(BeforeFirst("WIDTH=32", "="), "WIDTH");
    EXPECT_EQ(AfterFirst("WIDTH=32", "="), "32");
    EXPECT_EQ(AfterFirst("WIDTH=", "="), "");
    EXPECT_EQ(BeforeFirst("NAME", "="), "NAME");
    EXPECT_EQ(AfterFirst("NAME", "="), "");
    EXPECT_EQ(BeforeLast("C:\\GAME\\EDIT.EXE", "\\"), "C:\\GAME");
    EXPECT_EQ(BeforeLast("EDIT.EXE", "\\"), "");
    EXPECT_EQ(DirOf("MAPS\\A.MAP"), "MAPS");
    EXPECT_EQ(LeftStr("abc", 5), "abc");
    EXPECT_EQ(LeftStr("abc", 0), "");
    EXPECT_EQ(LeftStr("abc", -2), "");
    EXPECT_EQ(RightStr("abc", 2), "bc");
    EXPECT_EQ(RightStr("abc", -1), "");
    EXPECT_EQ(ShortText(std::string(300, 'x')).size(), 255u);
}

TEST(TextHelpers, GetWordCountsWordsAfterSpaces) {
    EXPECT_EQ(GetWord("TILES  100 4,2 SHEET.PBM", 3), "4,2");
    EXPECT_EQ(GetWord("TILE 7 A", 3), "A");
    EXPECT_EQ(GetWord("  TILE 7 A", 1), "TILE");
    EXPECT_EQ(GetWord("TILE 7 A.PBM\r", 3), "A.PBM");
    EXPECT_EQ(GetWord("TILE 7 A\vB", 3), "A");
    EXPECT_EQ(GetWord("TILE 7", 3), "");
    EXPECT_EQ(GetWord("", 1), "");
}

TEST(TextHelpers, CaseSpacesAndRounding) {
    std::string s = "tile 5 a\xe9.pbm";
    UpperCaseStr(s);
    EXPECT_EQ(s, "TILE 5 A\xe9.PBM");
    std::string t = " a b  c ";
    RemoveSpaces(t);
    EXPECT_EQ(t, "abc");
    EXPECT_EQ(RoundUpToTen(0), 0);
    EXPECT_EQ(RoundUpToTen(1), 10);
    EXPECT_EQ(RoundUpToTen(10), 10);
    EXPECT_EQ(RoundUpToTen(11), 20);
}

TEST(TextHelpers, StripPrefixIsExact) {
    EXPECT_EQ(StripPrefix("C:\\GAME\\TILES\\A.TIL", "C:\\GAME"), "TILES\\A.TIL");
    EXPECT_EQ(StripPrefix("D:\\X.TIL", "C:\\GAME"), "D:\\X.TIL");
    EXPECT_EQ(StripPrefix("c:\\game\\a.til", "C:\\GAME"), "c:\\game\\a.til");
    EXPECT_EQ(StripPrefix("C:\\GAMES\\A.TIL", "C:\\GAME"), "C:\\GAMES\\A.TIL");
    EXPECT_EQ(StripPrefix("/a/bc/x.map", "/a/b"), "/a/bc/x.map");
    EXPECT_EQ(StripPrefix("/a/b/x.map", "/a/b"), "x.map");
    EXPECT_FALSE(ProgramDir().empty());
    EXPECT_NE(ProgramDir().back(), '/');
}

TEST(TextHelpers, StrToIntAcceptsOnlyDecimalIntegers) {
    EXPECT_EQ(StrToInt("32"), 32);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt(" 12 "), 12);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("3X"), EConvertError);
    EXPECT_THROW(StrToInt("99999999999"), EConvertError);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
}

TEST(TextHelpers, PaletteEntriesInOrder) {
    uint8_t pal[768] = {};
    pal[3 * 5] = 10;
    pal[3 * 5 + 1] = 20;
    pal[3 * 5 + 2] = 30;
    int calls = 0;
    ForEachPaletteEntry(pal, [&](int i, uint8_t r, uint8_t g, uint8_t b) {
        EXPECT_EQ(i, calls++);
        if (i == 5) {
            EXPECT_EQ(r + g + b, 60);
        }
    });
    EXPECT_EQ(calls, 256);
}
