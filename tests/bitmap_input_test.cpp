#include <climits>
#include <gtest/gtest.h>

#include "bitmap_input.h"
#include "bmp_builder.h"
#include "converter_tables.h"

namespace {

void readQuietly(const std::vector<uint8_t>& file)
{
    tables::load(file);
    tables::QuietConsole quiet;
    readBitmap();
}

// A full-size picture whose pixel at (x, y) is (x + 3y) mod 16, so every row
// can be told apart from its neighbours.
bmp::Picture patterned()
{
    bmp::Picture picture = bmp::blankPicture(640, 400);
    for (int32_t y = 0; y < 400; ++y)
        for (int32_t x = 0; x < 640; ++x)
            picture.at(x, y) = static_cast<uint8_t>((x + 3 * y) % 16);
    return picture;
}

bool rowIsZero(int32_t y, int32_t from = 0, int32_t to = 640)
{
    for (int32_t x = from; x < to; ++x)
        if (PixelPlane[y][x] != 0)
            return false;
    return true;
}

TEST(ReadBitmap, ColourTableBecomesGreenRedBlue)
{
    bmp::Picture picture = bmp::blankPicture(8, 2);
    picture.colours[5] = {16, 32, 48};   // blue, green, red
    std::vector<uint8_t> file = bmp::encode(picture);
    file[54 + 5 * 4 + 3] = 64;           // the reserved byte is dropped
    readQuietly(file);
    EXPECT_EQ(Palette[5][0], 32);
    EXPECT_EQ(Palette[5][1], 48);
    EXPECT_EQ(Palette[5][2], 16);
    EXPECT_EQ(ReadCursor, 118 + 16);     // past the colour table, then past the 16 pixels
}

TEST(ReadBitmap, StoredRowsAreBottomUp)
{
    bmp::Picture picture = patterned();
    picture.at(0, 0) = 200;
    picture.at(1, 0) = 255;
    std::vector<uint8_t> file = bmp::encode(picture);
    readQuietly(file);
    EXPECT_EQ(columnCount, 80);
    EXPECT_EQ(lineCount, 200);
    EXPECT_EQ(0, std::memcmp(PixelPlane[0], file.data() + file.size() - 640, 640));
    EXPECT_EQ(0, std::memcmp(PixelPlane[399], file.data() + 118, 640));
    EXPECT_EQ(0, std::memcmp(PixelPlane, picture.pixels.data(), picture.pixels.size()));
    EXPECT_EQ(PixelPlane[0][0], 200);
    EXPECT_EQ(PixelPlane[0][1], 255);
}

TEST(ReadBitmap, PixelOffsetInsideTheHeaderRereadsTheColourTable)
{
    std::vector<uint8_t> file = bmp::encode(patterned());
    bmp::putInt32(file, 10, 54);
    readQuietly(file);
    EXPECT_EQ(0, std::memcmp(PixelPlane[399], file.data() + 54, 640));
}

TEST(ReadBitmap, TruncatedFileReadsZerosPastItsEnd)
{
    bmp::Picture picture = bmp::blankPicture(640, 400);
    std::fill(picture.pixels.begin(), picture.pixels.end(), 7);
    std::vector<uint8_t> file = bmp::encode(picture);
    file.resize(file.size() - 1000);
    readQuietly(file);
    EXPECT_TRUE(rowIsZero(0));
    EXPECT_TRUE(rowIsZero(1, 280, 640));
    EXPECT_EQ(PixelPlane[1][279], 7);
    EXPECT_EQ(PixelPlane[2][639], 7);
}

TEST(ReadBitmap, OffsetsOutsideTheBufferReadAsZero)
{
    // Negative: the first 1000 reads fall before the buffer, then the file
    // itself follows from offset 0.
    std::vector<uint8_t> file = bmp::encode(patterned());
    bmp::putInt32(file, 10, -1000);
    readQuietly(file);
    EXPECT_TRUE(rowIsZero(399));
    EXPECT_TRUE(rowIsZero(398, 0, 360));
    EXPECT_EQ(0, std::memcmp(&PixelPlane[398][360], file.data(), 280));

    // Straddling the end of the buffer: the last byte is read, nothing after it.
    std::vector<uint8_t> large = bmp::encode(patterned());
    large.resize(INPUT_CAPACITY, 0);
    large.back() = 0x5A;
    bmp::putInt32(large, 10, INPUT_CAPACITY - 576);
    readQuietly(large);
    EXPECT_EQ(PixelPlane[399][575], 0x5A);
    EXPECT_TRUE(rowIsZero(399, 576, 640));
    EXPECT_TRUE(rowIsZero(0));

    // Far past the buffer, where the cursor itself would overflow.
    bmp::putInt32(file, 10, INT32_MAX - 100);
    readQuietly(file);
    for (int32_t y = 0; y < 400; ++y)
        ASSERT_TRUE(rowIsZero(y)) << y;
}

TEST(ReadBitmap, SizesWithoutRowsReadNoPixel)
{
    struct Case {
        int32_t width, height;
        int32_t columns, lines;
    };
    const Case cases[] = {
        {640, -400, 80, -200}, {0, 400, 0, 200}, {-8, 400, -1, 200}, {640, 0, 80, 0},
        {640, INT32_MIN, 80, INT32_MIN / 2}, {INT32_MIN, 400, INT32_MIN / 8, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        std::vector<uint8_t> file = bmp::encode(patterned());
        bmp::putInt32(file, 18, c.width);
        bmp::putInt32(file, 22, c.height);
        readQuietly(file);
        EXPECT_EQ(columnCount, c.columns);
        EXPECT_EQ(lineCount, c.lines);
        EXPECT_EQ(Palette[15][0], 255);   // the colour table is still read
        EXPECT_EQ(ReadCursor, 118);       // set to the pixel offset, never advanced
        for (int32_t y = 0; y < 400; ++y)
            ASSERT_TRUE(rowIsZero(y)) << y;
    }
}

} // namespace
