#include "font_test_helpers.h"

#include <gtest/gtest.h>

#include <string>

using namespace font_test;

TEST(Font8x16, BlankFullAndHalfBlocks) {
    for (int glyph : {0x00, 0x20, 0xFF})
        EXPECT_EQ(InkCount(glyph), 0) << glyph;
    for (int row = 0; row < kRows; ++row) {
        const bool lower = row >= kRows / 2;
        EXPECT_EQ(Row(0xDB, row), 0xFF) << row;
        EXPECT_EQ(Row(0xDC, row), lower ? 0xFF : 0x00) << row;
        EXPECT_EQ(Row(0xDD, row), 0xF0) << row;
        EXPECT_EQ(Row(0xDE, row), 0x0F) << row;
        EXPECT_EQ(Row(0xDF, row), lower ? 0x00 : 0xFF) << row;
    }
}

TEST(Font8x16, SmilingFaceAndItsInverse) {
    const int face = 1, inverse = 2;
    ASSERT_GT(InkCount(face), 0);
    ASSERT_NE(Rows(face), Rows(inverse));
    EXPECT_GT(InkCount(inverse), InkCount(face));
    // Same outline: same top and bottom rows...
    const int top = TopInkRow(face), bottom = BottomInkRow(face);
    EXPECT_EQ(TopInkRow(inverse), top);
    EXPECT_EQ(BottomInkRow(inverse), bottom);
    EXPECT_EQ(Row(inverse, top), Row(face, top));
    EXPECT_EQ(Row(inverse, bottom), Row(face, bottom));
    // ...and inside the outline every pixel is flipped, so the eyes and mouth show.
    int features = 0;
    for (int row = top + 1; row < bottom; ++row) {
        int left = 0, right = kColumns - 1;
        while (left < kColumns && !Ink(face, row, left))
            ++left;
        while (right >= 0 && !Ink(face, row, right))
            --right;
        ASSERT_LT(left, right) << "outline missing in row " << row;
        for (int column = left + 1; column < right; ++column) {
            EXPECT_NE(Ink(face, row, column), Ink(inverse, row, column)) << row << "," << column;
            features += Ink(face, row, column);
        }
    }
    EXPECT_GE(features, 4);
}

TEST(Font8x16, InverseBulletAndCircleAreNegatives) {
    for (auto [glyph, negative] : {std::pair{0x07, 0x08}, std::pair{0x09, 0x0A}}) {
        ASSERT_GT(InkCount(glyph), 0);
        for (int row = 0; row < kRows; ++row)
            EXPECT_EQ(Row(negative, row), static_cast<uint8_t>(~Row(glyph, row))) << row;
    }
}

TEST(Font8x16, ShadesDarkenInStepsAndTileSeamlessly) {
    EXPECT_LT(InkCount(0xB0), InkCount(0xB1));
    EXPECT_LT(InkCount(0xB1), InkCount(0xB2));
    EXPECT_EQ(InkCount(0xB1), kRows * kColumns / 2);
    for (int shade : {0xB0, 0xB1, 0xB2}) {
        // A period of two rows over 16 rows: the pattern continues into the cell below.
        for (int row = 0; row + 2 < kRows; ++row)
            EXPECT_EQ(Row(shade, row), Row(shade, row + 2)) << shade << " row " << row;
        EXPECT_NE(Row(shade, 0), Row(shade, 1)) << shade;
    }
}

TEST(Font8x16, EveryPrintableAsciiCharacterButSpaceHasInk) {
    for (int glyph = 0x21; glyph <= 0x7E; ++glyph)
        EXPECT_GT(InkCount(glyph), 0) << char(glyph);
}

TEST(Font8x16, LettersAndDigitsAreAllDifferent) {
    const std::string alnum = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (size_t i = 0; i < alnum.size(); ++i)
        for (size_t j = i + 1; j < alnum.size(); ++j)
            EXPECT_NE(Rows(alnum[i]), Rows(alnum[j])) << alnum[i] << " and " << alnum[j];
}

TEST(Font8x16, LettersShareBaselineCapHeightAndXHeight) {
    const int baseline = 12, capTop = 3, xTop = 6, lowestDescender = 14;
    for (char c : std::string("ABCDEFGHIJKLMNOPRSTUVWXYZ0123456789bdfhkl")) {
        EXPECT_EQ(TopInkRow(c), capTop) << c;
        EXPECT_EQ(BottomInkRow(c), baseline) << c;
    }
    for (char c : std::string("acemnorsuvwxz")) {
        EXPECT_EQ(TopInkRow(c), xTop) << c;
        EXPECT_EQ(BottomInkRow(c), baseline) << c;
    }
    EXPECT_EQ(BottomInkRow('i'), baseline);
    EXPECT_EQ(BottomInkRow('t'), baseline);
    // Descenders go below the baseline but leave the last row free as the gap between lines.
    for (char c : std::string("gjpqy")) {
        EXPECT_GT(BottomInkRow(c), baseline) << c;
        EXPECT_LE(BottomInkRow(c), lowestDescender) << c;
        EXPECT_TRUE(Row(c, baseline) != 0) << c;
    }
    EXPECT_GT(BottomInkRow('Q'), baseline); // its tail
}

TEST(Font8x16, AccentedLettersKeepTheirBaseLetter) {
    // Rows first..last equal the base letter; the accent is in the other rows.
    struct Accented {
        int glyph;
        char base;
        int first, last;
    };
    const int lowAbove = 5, capAbove = 3;
    const Accented letters[] = {
        {0x80, 'C', 0, 12},        {0x81, 'u', lowAbove, 15}, {0x82, 'e', lowAbove, 15},
        {0x83, 'a', lowAbove, 15}, {0x84, 'a', lowAbove, 15}, {0x85, 'a', lowAbove, 15},
        {0x86, 'a', lowAbove, 15}, {0x87, 'c', 0, 12},        {0x88, 'e', lowAbove, 15},
        {0x89, 'e', lowAbove, 15}, {0x8A, 'e', lowAbove, 15}, {0x8B, 'i', lowAbove, 15},
        {0x8C, 'i', lowAbove, 15}, {0x8D, 'i', lowAbove, 15}, {0x8E, 'A', capAbove, 15},
        {0x8F, 'A', capAbove, 15}, {0x90, 'E', capAbove, 15}, {0x93, 'o', lowAbove, 15},
        {0x94, 'o', lowAbove, 15}, {0x95, 'o', lowAbove, 15}, {0x96, 'u', lowAbove, 15},
        {0x97, 'u', lowAbove, 15}, {0x98, 'y', lowAbove, 15}, {0x99, 'O', capAbove, 15},
        {0x9A, 'U', capAbove, 15}, {0xA0, 'a', lowAbove, 15}, {0xA1, 'i', lowAbove, 15},
        {0xA2, 'o', lowAbove, 15}, {0xA3, 'u', lowAbove, 15}, {0xA4, 'n', lowAbove, 15},
        {0xA5, 'N', capAbove, 15},
    };
    for (const Accented& letter : letters) {
        bool accentDrawn = false;
        for (int row = 0; row < kRows; ++row) {
            if (row >= letter.first && row <= letter.last)
                EXPECT_EQ(Row(letter.glyph, row), Row(letter.base, row))
                    << std::hex << letter.glyph << " row " << std::dec << row;
            else
                accentDrawn |= Row(letter.glyph, row) != Row(letter.base, row);
        }
        EXPECT_TRUE(accentDrawn) << std::hex << letter.glyph;
    }
    // Same accent, same place: the acute over e, a, o and u is one drawing.
    for (int row = 0; row < lowAbove; ++row)
        for (int glyph : {0xA0, 0xA2, 0xA3})
            EXPECT_EQ(Row(glyph, row), Row(0x82, row)) << row;
}

TEST(Font8x16, IntegralHalvesJoin) {
    EXPECT_EQ(Row(0xF4, 0), 0);
    EXPECT_EQ(Row(0xF5, kRows - 1), 0);
    EXPECT_NE(Row(0xF4, kRows - 1), 0);
    EXPECT_EQ(Row(0xF4, kRows - 1), Row(0xF5, 0));
}
