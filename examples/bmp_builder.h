// Builds 8-bit, 16-colour BMP files in memory: the sample screen grab and the
// fixtures of the tests. Not part of the converter.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace bmp {

// A colour as the BMP colour table stores it.
struct Colour {
    uint8_t blue, green, red;
};

using ColourTable = std::array<Colour, 16>;

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    ColourTable colours{};
    std::vector<uint8_t> pixels;   // width x height palette indices, top row first

    uint8_t& at(int32_t x, int32_t y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// The 16 colours of the TurboATM multicolour screen: components 0, 170 or
// 255 (digits 0, 2, 3), entry 8 a dark grey.
ColourTable turboAtmColours();

// A width x height picture of colour 0.
Picture blankPicture(int32_t width, int32_t height);

// Copies every even row onto the odd row below it, as a screen grab shows
// each screen line twice.
void doubleLines(Picture& picture);

// The file: 14-byte file header, 40-byte info header, colour table at 54,
// pixel rows bottom-up from offset 118, no compression, biClrUsed 16.
std::vector<uint8_t> encode(const Picture& picture);

// Overwrites a little-endian 32-bit field, for header edge cases.
void putInt32(std::vector<uint8_t>& file, size_t offset, int32_t value);

// The sample screen grab shipped in examples/: colour bars, a checkerboard,
// diagonal stripes and a band of cells with three colours.
Picture sampleScreen();

// A full-size picture of one-colour cells whose GRF file holds exactly
// `pairs` attribute pairs (80 to 16,000). 16,000 pairs, every attribute
// different from the one above it, gives the largest GRF file.
Picture pictureWithPairs(int32_t pairs);

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace bmp
