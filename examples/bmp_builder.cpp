#include "bmp_builder.h"

#include <algorithm>
#include <fstream>

namespace bmp {

namespace {

constexpr uint32_t FILE_HEADER_SIZE = 14;
constexpr uint32_t INFO_HEADER_SIZE = 40;
constexpr uint32_t PIXEL_OFFSET = FILE_HEADER_SIZE + INFO_HEADER_SIZE + 16 * 4;

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

ColourTable turboAtmColours()
{
    ColourTable table{};
    for (int i = 0; i < 16; ++i) {
        uint8_t level = (i & 8) ? 255 : 170;
        table[i] = {static_cast<uint8_t>((i & 1) ? level : 0), static_cast<uint8_t>((i & 4) ? level : 0),
                    static_cast<uint8_t>((i & 2) ? level : 0)};
    }
    table[8] = {85, 85, 85};
    return table;
}

Picture blankPicture(int32_t width, int32_t height)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.colours = turboAtmColours();
    picture.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return picture;
}

void doubleLines(Picture& picture)
{
    for (int32_t y = 1; y < picture.height; y += 2)
        for (int32_t x = 0; x < picture.width; ++x)
            picture.at(x, y) = picture.at(x, y - 1);
}

std::vector<uint8_t> encode(const Picture& picture)
{
    uint32_t pixelBytes = static_cast<uint32_t>(picture.width) * static_cast<uint32_t>(picture.height);
    std::vector<uint8_t> out;
    out.reserve(PIXEL_OFFSET + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, PIXEL_OFFSET + pixelBytes);   // bfSize
    put32(out, 0);                           // bfReserved1, bfReserved2
    put32(out, PIXEL_OFFSET);                // bfOffBits
    put32(out, INFO_HEADER_SIZE);            // biSize
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.height));
    put16(out, 1);                           // biPlanes
    put16(out, 8);                           // biBitCount
    put32(out, 0);                           // biCompression: none
    put32(out, pixelBytes);                  // biSizeImage
    put32(out, 2835);                        // 72 dpi
    put32(out, 2835);
    put32(out, 16);                          // biClrUsed
    put32(out, 16);                          // biClrImportant
    for (const Colour& c : picture.colours) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    for (int32_t y = picture.height - 1; y >= 0; --y)
        for (int32_t x = 0; x < picture.width; ++x)
            out.push_back(picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + static_cast<size_t>(x)]);
    return out;
}

void putInt32(std::vector<uint8_t>& file, size_t offset, int32_t value)
{
    uint32_t bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i)
        file[offset + i] = static_cast<uint8_t>(bits >> (8 * i));
}

Picture sampleScreen()
{
    Picture p = blankPicture(640, 400);
    for (int32_t y = 0; y < 400; y += 2) {
        for (int32_t x = 0; x < 640; ++x) {
            uint8_t colour;
            if (y < 100) {
                colour = static_cast<uint8_t>(x / 40);                        // 16 bars, 5 cells each
            } else if (y < 200) {
                colour = ((x / 16 + (y - 100) / 16) % 2) ? 14 : 1;           // checkerboard, yellow on blue
            } else if (y < 300) {
                colour = (((x + y) / 6) % 2) ? 15 : 4;                       // diagonal stripes, white on green
            } else {
                static const uint8_t THREE[8] = {2, 2, 2, 12, 12, 12, 6, 6};   // red, bright green, yellow
                colour = (x >= 160 && x < 480 && y >= 320 && y < 380) ? THREE[x % 8] : 8;
            }
            p.at(x, y) = colour;
        }
    }
    doubleLines(p);
    return p;
}

// Column c gets p pairs by alternating two colours down its first p lines
// and repeating the last of them below.
Picture pictureWithPairs(int32_t pairs)
{
    Picture picture = blankPicture(640, 400);
    int32_t remaining = pairs;
    for (int32_t column = 0; column < 80; ++column) {
        int32_t columnsAfter = 79 - column;
        int32_t p = std::min<int32_t>(200, remaining - columnsAfter);
        remaining -= p;
        for (int32_t line = 0; line < 200; ++line) {
            uint8_t colour = static_cast<uint8_t>(1 + (std::min(line, p - 1) % 2));
            for (int32_t x = 0; x < 8; ++x)
                picture.at(8 * column + x, 2 * line) = colour;
        }
    }
    doubleLines(picture);
    return picture;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace bmp
