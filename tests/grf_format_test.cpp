#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "buffers.h"
#include "cell_encoder.h"
#include "grf_format.h"
#include "viewer/grf_examples.h"

namespace {

std::vector<uint8_t> output()
{
    return std::vector<uint8_t>(OutputBuffer, OutputBuffer + OutputLength);
}

std::vector<uint8_t> bytesFrom(int32_t offset)
{
    return std::vector<uint8_t>(OutputBuffer + offset, OutputBuffer + OutputLength);
}

std::vector<uint8_t> placement()
{
    return std::vector<uint8_t>(OutputBuffer + PLACEMENT_OFFSET, OutputBuffer + PIXEL_SECTION_OFFSET);
}

class GrfFile : public testing::Test {
protected:
    void SetUp() override { clearTables(); }
};

TEST_F(GrfFile, WorkedExample)
{
    const uint8_t rows[3][16] = {
        {1, 1, 1, 1, 1, 1, 1, 1, 15, 15, 15, 15, 0, 0, 0, 0},
        {1, 1, 1, 1, 1, 1, 1, 1, 0, 15, 0, 15, 0, 15, 0, 15},
        {0, 0, 0, 0, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15},
    };
    for (int line = 0; line < 3; ++line)
        std::memcpy(PixelPlane[2 * line], rows[line], 16);
    Palette[1][PALETTE_BLUE] = 0xAA;
    Palette[15][0] = Palette[15][1] = Palette[15][2] = 0xFF;
    columnCount = 2;
    lineCount = 3;
    encodeCells();
    EXPECT_EQ(lastPaper, 15);
    buildGrfFile();

    EXPECT_EQ(OutputLength, 146);
    EXPECT_EQ(output(), grfexamples::workedExample());
}

TEST_F(GrfFile, PaletteDigitsByQuarterOfTheRange)
{
    const std::pair<uint8_t, char> cases[] = {{0, '0'}, {63, '0'}, {64, '1'}, {127, '1'}, {128, '2'}, {191, '2'}, {192, '3'}, {255, '3'}};
    for (int entry = 0; entry < 8; ++entry) {
        Palette[entry][PALETTE_GREEN] = cases[entry].first;
        Palette[entry + 8][PALETTE_BLUE] = cases[entry].first;
    }
    buildGrfFile();
    for (int entry = 0; entry < 8; ++entry) {
        EXPECT_EQ(OutputBuffer[3 * entry], cases[entry].second) << int(cases[entry].first);
        EXPECT_EQ(OutputBuffer[3 * (entry + 8) + 2], cases[entry].second) << int(cases[entry].first);
    }
    for (int i = RESERVED_OFFSET; i < RESERVED_OFFSET + RESERVED_SIZE; ++i)
        ASSERT_EQ(OutputBuffer[i], 0) << i;
}

TEST_F(GrfFile, AttributeRuns)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> column;     // attributes of one column, top down
        std::vector<uint8_t> pairs;
    };
    const Case cases[] = {
        {"one line", {0x47}, {0x01, 0x47}},
        {"all equal", {0x1D, 0x1D, 0x1D, 0x1D}, {0x04, 0x1D}},
        {"a value coming back", {0x0E, 0x0E, 0x4A, 0x0E}, {0x02, 0x0E, 0x01, 0x4A, 0x01, 0x0E}},
        {"all different", {0x01, 0x02, 0x01}, {0x01, 0x01, 0x01, 0x02, 0x01, 0x01}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearTables();
        columnCount = 1;
        lineCount = static_cast<int32_t>(c.column.size());
        for (size_t n = 0; n < c.column.size(); ++n) {
            AttributePlane[n][0] = c.column[n];
            BitmapPlane[n][0] = static_cast<uint8_t>(0x80 + n);
        }
        lastPaper = c.column[0];   // the carried run value never reaches the file
        buildGrfFile();
        EXPECT_EQ(OutputLength, 132 + lineCount + static_cast<int32_t>(c.pairs.size()));
        EXPECT_EQ(OutputBuffer[PIXEL_SECTION_OFFSET], 0x80);
        EXPECT_EQ(bytesFrom(PIXEL_SECTION_OFFSET + lineCount), c.pairs);
    }
}

TEST_F(GrfFile, OneColumnOfOneLine)
{
    columnCount = 1;
    lineCount = 1;
    BitmapPlane[0][0] = 0x3C;
    AttributePlane[0][0] = 0x51;
    buildGrfFile();
    EXPECT_EQ(OutputLength, 135);
    EXPECT_EQ(placement(), (std::vector<uint8_t>{0x27, 0x63, 0x01, 0x01}));
    EXPECT_EQ(bytesFrom(PIXEL_SECTION_OFFSET), (std::vector<uint8_t>{0x3C, 0x01, 0x51}));
}

TEST_F(GrfFile, PixelSectionRunsColumnByColumn)
{
    columnCount = 80;
    lineCount = 200;
    for (int n = 0; n < 200; ++n)
        for (int c = 0; c < 80; ++c)
            BitmapPlane[n][c] = static_cast<uint8_t>(n * 3 + c);
    buildGrfFile();
    EXPECT_EQ(placement(), (std::vector<uint8_t>{0x00, 0x00, 0x50, 0xC8}));
    EXPECT_EQ(OutputLength, 132 + 16000 + 2 * 80);   // all attributes 0: one pair a column
    EXPECT_EQ(OutputBuffer[PIXEL_SECTION_OFFSET + 1], 3);          // line 1, column 0
    EXPECT_EQ(OutputBuffer[PIXEL_SECTION_OFFSET + 200], 1);        // line 0, column 1
    EXPECT_EQ(OutputBuffer[PIXEL_SECTION_OFFSET + 15999], static_cast<uint8_t>(199 * 3 + 79));
}

TEST_F(GrfFile, CountsOfZeroOrLess)
{
    struct Case {
        int32_t columns, lines;
        uint8_t carried;                 // lastPaper when the file is built
        std::vector<uint8_t> fromPlacement;
    };
    const Case cases[] = {
        {3, 0, 0, {0x26, 0x64, 0x03, 0x00, 0, 0, 0, 0, 0, 0}},
        {2, -1, 9, {0x27, 0x64, 0x02, 0xFF, 0, 9, 0, 9}},    // a column with no line still ends with its pair
        {0, 200, 0, {0x28, 0x00, 0x00, 0xC8}},
        {-1, 200, 0, {0x28, 0x00, 0xFF, 0xC8}},
        {80, -200, 0, {0x00, 0xC8, 0x50, 0x38, 0, 0}},      // only the first and last pairs checked below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.columns << " x " << c.lines);
        clearTables();
        columnCount = c.columns;
        lineCount = c.lines;
        lastPaper = c.carried;
        buildGrfFile();
        int32_t pairs = c.columns > 0 ? c.columns : 0;
        EXPECT_EQ(OutputLength, 132 + 2 * pairs);
        std::vector<uint8_t> tail = bytesFrom(PLACEMENT_OFFSET);
        tail.resize(c.fromPlacement.size());
        EXPECT_EQ(tail, c.fromPlacement);
    }
}

} // namespace
