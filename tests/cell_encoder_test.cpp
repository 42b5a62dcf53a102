#include <cstring>
#include <gtest/gtest.h>

#include "buffers.h"
#include "cell_encoder.h"

namespace {

// Puts 8 pixels into the cell at (line, column): row 2 x line of PixelPlane.
void setCell(int32_t line, int32_t column, std::array<uint8_t, 8> pixels)
{
    for (int i = 0; i < 8; ++i)
        PixelPlane[2 * line][8 * column + i] = pixels[static_cast<size_t>(i)];
}

std::array<uint8_t, 8> solid(uint8_t colour)
{
    std::array<uint8_t, 8> pixels;
    pixels.fill(colour);
    return pixels;
}

void encode(int32_t columns, int32_t lines)
{
    columnCount = columns;
    lineCount = lines;
    encodeCells();
}

class CellEncoder : public testing::Test {
protected:
    void SetUp() override { clearTables(); }
};

TEST_F(CellEncoder, WorkedExample)
{
    setCell(0, 0, {3, 3, 5, 5, 3, 3, 3, 5});
    setCell(1, 0, {12, 2, 2, 12, 9, 9, 2, 12});   // 12 first: exchanged; 9 shows in ink
    setCell(2, 0, solid(7));
    encode(1, 3);
    EXPECT_EQ(BitmapPlane[0][0], 0x31);
    EXPECT_EQ(AttributePlane[0][0], 0x1D);
    EXPECT_EQ(BitmapPlane[1][0], 0x9D);
    EXPECT_EQ(AttributePlane[1][0], 0x54);
    EXPECT_EQ(BitmapPlane[2][0], 0x00);
    EXPECT_EQ(AttributePlane[2][0], 0x7F);
    EXPECT_EQ(lastPaper, 7);
    EXPECT_EQ(lastInk, 255);
}

TEST_F(CellEncoder, OneColourCellsKeepNoColourAsInk)
{
    const std::pair<uint8_t, uint8_t> cases[] = {{0, 0x47}, {7, 0x7F}, {8, 0xC7}, {15, 0xFF}, {2, 0x57}};
    for (auto [colour, attribute] : cases) {
        SCOPED_TRACE(int(colour));
        clearTables();
        setCell(0, 0, {2, 9, 2, 9, 2, 9, 2, 9});   // a cell before, whose colours must not leak
        setCell(1, 0, solid(colour));
        encode(1, 2);
        EXPECT_EQ(BitmapPlane[1][0], 0x00);
        EXPECT_EQ(AttributePlane[1][0], attribute);
        EXPECT_EQ(lastPaper, colour);
        EXPECT_EQ(lastInk, 255);
    }
}

TEST_F(CellEncoder, AllNoColourCellBorrowsFromTheCellBefore)
{
    struct Case {
        const char* name;
        std::array<uint8_t, 8> before;   // empty name for none: the cell is the very first
        bool hasBefore;
        uint8_t bits, attribute, paper, ink;
    };
    const Case cases[] = {
        {"first cell of the run", {}, false, 0x00, 0xB8, 255, 0},
        {"after a one-colour cell of 6", solid(6), true, 0xFF, 0x77, 6, 255},
        {"after paper 2 and ink 9", {2, 9, 9, 2, 2, 2, 2, 2}, true, 0x00, 0xF9, 255, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearTables();
        int32_t line = c.hasBefore ? 1 : 0;
        if (c.hasBefore)
            setCell(0, 0, c.before);
        setCell(line, 0, solid(255));
        encode(1, line + 1);
        EXPECT_EQ(BitmapPlane[line][0], c.bits);
        EXPECT_EQ(AttributePlane[line][0], c.attribute);
        EXPECT_EQ(lastPaper, c.paper);
        EXPECT_EQ(lastInk, c.ink);
    }
}

TEST_F(CellEncoder, CarriedColoursFollowTheColumnOrder)
{
    // Column 0 ends with paper 2, ink 9; the left neighbour of cell (0, 1) is
    // a one-colour cell of 6, which must not be where the colours come from.
    setCell(0, 0, solid(6));
    setCell(1, 0, {2, 9, 9, 2, 2, 2, 2, 2});
    setCell(0, 1, solid(255));
    encode(2, 2);
    EXPECT_EQ(BitmapPlane[0][1], 0x00);
    EXPECT_EQ(AttributePlane[0][1], 0xF9);
}

TEST_F(CellEncoder, ValuesAboveFifteenAreWholeBytesWithTheirLowBitsInTheAttribute)
{
    setCell(0, 0, {19, 3, 3, 19, 3, 3, 3, 3});
    setCell(1, 0, {255, 5, 5, 7, 5, 255, 5, 5});   // 255 is never chosen and shows in ink
    setCell(2, 0, {200, 200, 200, 200, 200, 200, 200, 200});
    encode(1, 3);
    EXPECT_EQ(BitmapPlane[0][0], 0x90);
    EXPECT_EQ(AttributePlane[0][0], 0x1B);
    EXPECT_EQ(BitmapPlane[1][0], 0x94);
    EXPECT_EQ(AttributePlane[1][0], attributeByte(5, 7));
    EXPECT_EQ(AttributePlane[2][0], attributeByte(200, 255));
}

TEST_F(CellEncoder, OddRowsHaveNoEffect)
{
    for (int32_t y = 0; y < 400; y += 2)
        for (int32_t x = 0; x < 640; ++x)
            PixelPlane[y][x] = static_cast<uint8_t>((x / 3 + y / 4) % 17 == 0 ? 255 : (x * 7 + y) % 16);
    encode(80, 200);
    std::vector<uint8_t> bits(&BitmapPlane[0][0], &BitmapPlane[0][0] + sizeof BitmapPlane);
    std::vector<uint8_t> attributes(&AttributePlane[0][0], &AttributePlane[0][0] + sizeof AttributePlane);
    for (int32_t y = 1; y < 400; y += 2)
        for (int32_t x = 0; x < 640; ++x)
            PixelPlane[y][x] = static_cast<uint8_t>(x ^ y);
    lastPaper = 0;
    lastInk = 0;
    encode(80, 200);
    EXPECT_EQ(0, std::memcmp(bits.data(), BitmapPlane, bits.size()));
    EXPECT_EQ(0, std::memcmp(attributes.data(), AttributePlane, attributes.size()));
}

TEST_F(CellEncoder, CountsOfZeroOrLessEncodeNothing)
{
    const std::pair<int32_t, int32_t> cases[] = {{0, 200}, {80, 0}, {-1, 200}, {80, -200}, {-268435456, -1073741824}};
    for (auto [columns, lines] : cases) {
        SCOPED_TRACE(testing::Message() << columns << " x " << lines);
        clearTables();
        setCell(0, 0, {1, 2, 3, 4, 5, 6, 7, 8});
        std::memset(BitmapPlane, 0xA5, sizeof BitmapPlane);
        std::memset(AttributePlane, 0x5A, sizeof AttributePlane);
        encode(columns, lines);
        EXPECT_EQ(BitmapPlane[0][0], 0xA5);
        EXPECT_EQ(AttributePlane[0][0], 0x5A);
        EXPECT_EQ(lastPaper, 0);
        EXPECT_EQ(lastInk, 0);
    }
}

} // namespace
