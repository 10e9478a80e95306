#include "font_test_helpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <vector>

using namespace font_test;

namespace {

enum Line { N, S, D }; // no line, single line, double line

struct BoxGlyph {
    int glyph;
    Line up, down, left, right;
};

// Which edges each box-drawing glyph reaches, and with which line.
constexpr BoxGlyph kBoxGlyphs[] = {
    {0xB3, S, S, N, N}, {0xB4, S, S, S, N}, {0xB5, S, S, D, N}, {0xB6, D, D, S, N},
    {0xB7, N, D, S, N}, {0xB8, N, S, D, N}, {0xB9, D, D, D, N}, {0xBA, D, D, N, N},
    {0xBB, N, D, D, N}, {0xBC, D, N, D, N}, {0xBD, D, N, S, N}, {0xBE, S, N, D, N},
    {0xBF, N, S, S, N}, {0xC0, S, N, N, S}, {0xC1, S, N, S, S}, {0xC2, N, S, S, S},
    {0xC3, S, S, N, S}, {0xC4, N, N, S, S}, {0xC5, S, S, S, S}, {0xC6, S, S, N, D},
    {0xC7, D, D, N, S}, {0xC8, D, N, N, D}, {0xC9, N, D, N, D}, {0xCA, D, N, D, D},
    {0xCB, N, D, D, D}, {0xCC, D, D, N, D}, {0xCD, N, N, D, D}, {0xCE, D, D, D, D},
    {0xCF, S, N, D, D}, {0xD0, D, N, S, S}, {0xD1, N, S, D, D}, {0xD2, N, D, S, S},
    {0xD3, D, N, N, S}, {0xD4, S, N, N, D}, {0xD5, N, S, N, D}, {0xD6, N, D, N, S},
    {0xD7, D, D, S, S}, {0xD8, S, S, D, D}, {0xD9, S, N, S, N}, {0xDA, N, S, N, S},
};

constexpr int kHorizontalSingle = 0xC4, kHorizontalDouble = 0xCD;
constexpr int kVerticalSingle = 0xB3, kVerticalDouble = 0xBA;

// What an edge of a glyph must show: exactly what the straight line of that kind shows there.
uint16_t LeftEdge(Line line) {
    return line == N ? 0 : Column(line == S ? kHorizontalSingle : kHorizontalDouble, 0);
}
uint16_t RightEdge(Line line) {
    return line == N ? 0 : Column(line == S ? kHorizontalSingle : kHorizontalDouble, kColumns - 1);
}
uint8_t TopEdge(Line line) {
    return line == N ? 0 : Row(line == S ? kVerticalSingle : kVerticalDouble, 0);
}
uint8_t BottomEdge(Line line) {
    return line == N ? 0 : Row(line == S ? kVerticalSingle : kVerticalDouble, kRows - 1);
}

// Runs of adjacent set bits in a mask: one for a single line, two for a double line.
int Runs(unsigned bits) {
    return std::popcount(bits & ~(bits << 1));
}

// The 4-connected pieces of ink in a glyph; each piece is the list of its pixels (row * 8 +
// column).
std::vector<std::vector<int>> InkPieces(int glyph) {
    std::vector<std::vector<int>> pieces;
    std::vector<bool> seen(kRows * kColumns, false);
    for (int start = 0; start < kRows * kColumns; ++start) {
        if (seen[start] || !Ink(glyph, start / kColumns, start % kColumns)) continue;
        std::vector<int> piece{start};
        seen[start] = true;
        for (size_t next = 0; next < piece.size(); ++next) {
            const int row = piece[next] / kColumns, column = piece[next] % kColumns;
            const int neighbours[4][2] = {
                {row - 1, column}, {row + 1, column}, {row, column - 1}, {row, column + 1}};
            for (auto [r, c] : neighbours) {
                if (r < 0 || r >= kRows || c < 0 || c >= kColumns) continue;
                if (seen[r * kColumns + c] || !Ink(glyph, r, c)) continue;
                seen[r * kColumns + c] = true;
                piece.push_back(r * kColumns + c);
            }
        }
        pieces.push_back(piece);
    }
    return pieces;
}

} // namespace

TEST(BoxDrawing, StraightLinesCrossTheWholeCell) {
    for (int glyph : {kHorizontalSingle, kHorizontalDouble})
        for (int column = 1; column < kColumns; ++column)
            EXPECT_EQ(Column(glyph, column), Column(glyph, 0)) << glyph << " column " << column;
    for (int glyph : {kVerticalSingle, kVerticalDouble})
        for (int row = 1; row < kRows; ++row)
            EXPECT_EQ(Row(glyph, row), Row(glyph, 0)) << glyph << " row " << row;
    EXPECT_EQ(Runs(Column(kHorizontalSingle, 0)), 1);
    EXPECT_EQ(Runs(Column(kHorizontalDouble, 0)), 2);
    EXPECT_EQ(Runs(Row(kVerticalSingle, 0)), 1);
    EXPECT_EQ(Runs(Row(kVerticalDouble, 0)), 2);
    // A single line runs in the middle of a double one, so mixed joints line up.
    const unsigned single = Column(kHorizontalSingle, 0), pair = Column(kHorizontalDouble, 0);
    EXPECT_GT(std::countr_zero(single), std::countr_zero(pair));
    EXPECT_LT(std::bit_width(single), std::bit_width(pair));
    const unsigned across = Row(kVerticalSingle, 0), across2 = Row(kVerticalDouble, 0);
    EXPECT_GT(std::countr_zero(across), std::countr_zero(across2));
    EXPECT_LT(std::bit_width(across), std::bit_width(across2));
}

TEST(BoxDrawing, LinesMeetTheCellEdgesWhereNeighboursContinueThem) {
    for (const BoxGlyph& box : kBoxGlyphs) {
        SCOPED_TRACE(::testing::Message() << "glyph 0x" << std::hex << box.glyph);
        EXPECT_EQ(Column(box.glyph, 0), LeftEdge(box.left));
        EXPECT_EQ(Column(box.glyph, kColumns - 1), RightEdge(box.right));
        EXPECT_EQ(Row(box.glyph, 0), TopEdge(box.up));
        EXPECT_EQ(Row(box.glyph, kRows - 1), BottomEdge(box.down));
    }
}

TEST(BoxDrawing, NoLooseStrokes) {
    for (const BoxGlyph& box : kBoxGlyphs) {
        SCOPED_TRACE(::testing::Message() << "glyph 0x" << std::hex << box.glyph);
        const auto pieces = InkPieces(box.glyph);
        // Every piece of a line reaches some edge of the cell...
        for (const auto& piece : pieces) {
            bool reachesEdge = false;
            for (int pixel : piece) {
                const int row = pixel / kColumns, column = pixel % kColumns;
                reachesEdge |=
                    row == 0 || row == kRows - 1 || column == 0 || column == kColumns - 1;
            }
            EXPECT_TRUE(reachesEdge);
        }
        // ...and single lines meeting each other form one joined stroke.
        const bool anyDouble = box.up == D || box.down == D || box.left == D || box.right == D;
        if (!anyDouble) {
            EXPECT_EQ(pieces.size(), 1u);
        }
    }
    // A double cross is four corners; a double corner is two nested ones.
    EXPECT_EQ(InkPieces(0xCE).size(), 4u);
    EXPECT_EQ(InkPieces(0xC9).size(), 2u);
    // Joints of single and double lines are one piece per double line.
    EXPECT_EQ(InkPieces(0xD8).size(), 1u);
    EXPECT_EQ(InkPieces(0xB6).size(), 2u);
}
