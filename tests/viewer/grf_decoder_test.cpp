#include <gtest/gtest.h>
#include <png.h>

#include "grf_decoder.h"
#include "grf_examples.h"
#include "image_files.h"

namespace {

grf::Rgb colourOfIndex(uint8_t index)
{
    if (index == 1)
        return {0, 0, 170};
    if (index == 15)
        return {255, 255, 255};
    return {0, 0, 0};
}

TEST(GrfDecoder, WorkedExampleGivesTheExactPicture)
{
    grf::Decoded decoded = grf::decode(grfexamples::workedExample());
    ASSERT_TRUE(decoded.ok) << decoded.error;
    const grf::Picture& p = decoded.picture;
    EXPECT_EQ(p.columnOffset, 39);
    EXPECT_EQ(p.lineOffset, 98);
    EXPECT_EQ(p.attributePairs, 4u);
    grf::IndexedImage image = grf::render(p, false);
    ASSERT_EQ(image.width, 16);
    ASSERT_EQ(image.height, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 16; ++x) {
            uint8_t index = grfexamples::WORKED_EXAMPLE_LINES[y / 2][x];
            // the paper of a white cell may be any entry that is white
            EXPECT_EQ(image.colours[image.at(x, y)], colourOfIndex(index)) << x << "," << y;
        }
}

TEST(GrfDecoder, PaperAndInkFromTheAttributeBits)
{
    const struct {
        uint8_t attribute, paper, ink;
    } cases[] = {{0x54, 2, 12}, {0x1D, 3, 5}, {0x47, 0, 15}, {0xB8, 15, 0}, {0xFF, 15, 15}, {0x00, 0, 0}};
    for (auto c : cases) {
        EXPECT_EQ(grf::paperOf(c.attribute), c.paper) << int(c.attribute);
        EXPECT_EQ(grf::inkOf(c.attribute), c.ink) << int(c.attribute);
    }
}

TEST(GrfDecoder, WholeScreenPlacesThePictureAtItsOffsets)
{
    grf::Decoded decoded = grf::decode(grfexamples::workedExample());
    ASSERT_TRUE(decoded.ok);
    grf::IndexedImage screen = grf::render(decoded.picture, true);
    ASSERT_EQ(screen.width, 640);
    ASSERT_EQ(screen.height, 400);
    const int left = 8 * 39;
    const int top = 2 * 98;
    EXPECT_EQ(screen.at(left - 1, top), grf::SCREEN_BACKGROUND);
    EXPECT_EQ(screen.at(left, top - 1), grf::SCREEN_BACKGROUND);
    EXPECT_EQ(screen.colours[screen.at(left, top)], colourOfIndex(1));
    EXPECT_EQ(screen.colours[screen.at(left + 15, top + 5)], colourOfIndex(15));
    EXPECT_EQ(screen.at(left + 16, top), grf::SCREEN_BACKGROUND);
    EXPECT_EQ(screen.colours[grf::SCREEN_BACKGROUND], grf::Rgb{});
}

TEST(GrfDecoder, EveryBrokenFieldHasItsOwnMessage)
{
    for (const grfexamples::Broken& b : grfexamples::brokenFiles()) {
        SCOPED_TRACE(b.name);
        grf::Decoded decoded = grf::decode(b.file);
        EXPECT_FALSE(decoded.ok);
        EXPECT_EQ(decoded.error, b.message);
    }
}

TEST(GrfDecoder, EmptyPicturesAsTheConverterWritesThem)
{
    // No columns: the 132-byte header alone. No lines: one pair (0, v) a column.
    std::vector<uint8_t> noColumns = grfexamples::workedExample();
    noColumns.resize(132);
    noColumns[128] = 40;
    noColumns[130] = 0;
    grf::Decoded decoded = grf::decode(noColumns);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.picture.columns, 0);

    std::vector<uint8_t> noLines = noColumns;
    noLines[128] = 0x26;
    noLines[129] = 0x64;
    noLines[130] = 3;
    noLines[131] = 0;
    noLines.insert(noLines.end(), {0, 0, 0, 0, 0, 0});
    decoded = grf::decode(noLines);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.picture.attributePairs, 3u);
}

TEST(ImageFiles, PngReadsBackWithLibpng)
{
    grf::Decoded decoded = grf::decode(grfexamples::workedExample());
    ASSERT_TRUE(decoded.ok);
    grf::IndexedImage image = grf::render(decoded.picture, false);
    std::vector<uint8_t> rgb = images::toRgb(image);
    std::vector<uint8_t> png = images::encodePng(image.width, image.height, rgb);
    ASSERT_FALSE(png.empty());

    png_image read{};
    read.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&read, png.data(), png.size())) << read.message;
    read.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(read));
    ASSERT_TRUE(png_image_finish_read(&read, nullptr, pixels.data(), 0, nullptr)) << read.message;
    EXPECT_EQ(read.width, 16u);
    EXPECT_EQ(read.height, 6u);
    EXPECT_EQ(pixels, rgb);
}

TEST(ImageFiles, BmpIsTheFormatTheConverterTakesAndReadsBack)
{
    grf::Decoded decoded = grf::decode(grfexamples::workedExample());
    ASSERT_TRUE(decoded.ok);
    grf::IndexedImage image = grf::render(decoded.picture, false);
    std::vector<uint8_t> bmp = images::encodeBmp(image);
    ASSERT_EQ(bmp.size(), 118u + 16 * 6);
    EXPECT_EQ(bmp[10], 118);
    EXPECT_EQ(bmp[28], 8);
    EXPECT_EQ(bmp[46], 16);
    images::ReadSource read = images::decodeBmp(bmp);
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(read.image.pixels, image.pixels);
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(read.image.colours[i], image.colours[i]);
}

} // namespace
