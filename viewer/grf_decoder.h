// Strict reading of GRF picture files, and their display as the TurboATM
// shows them.
//
// The file (all fields single bytes, no signature):
//
//   offset        size     field            check
//   0             48       palette digits   '0'..'3'; per entry green, red, blue
//   48            80       reserved         all 0x00
//   128           1        columnOffset     columnOffset + width <= 80
//   129           1        lineOffset       lineOffset + height <= 200
//   130           1        width            in byte columns of 8 pixels
//   131           1        height           in lines
//   132           W x H    pixel bytes      column by column, top line first;
//                                           bit 7 the leftmost pixel, 1 = ink
//   132 + W x H   2 x R    attribute runs   (count, attribute) pairs, column by
//                                           column; counts 1..H adding up to H
//                                           (a column of height 0: one pair
//                                           with count 0); nothing after them
//
// Attribute: paper = bit 7 and bits 5..3, ink = bit 6 and bits 2..0.
// A palette digit d shows as the 8-bit component 85 x d.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace grf {

constexpr size_t HEADER_SIZE = 132;
constexpr int SCREEN_COLUMNS = 80;
constexpr int SCREEN_LINES = 200;
constexpr int SCREEN_WIDTH = 640;    // pixels
constexpr int SCREEN_HEIGHT = 400;   // pixel rows: every line shown twice
constexpr size_t SIZE_WARNING = 36864;

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

using Palette = std::array<Rgb, 16>;

struct Picture {
    Palette palette{};
    int columnOffset = 0;
    int lineOffset = 0;
    int columns = 0;
    int lines = 0;
    std::vector<uint8_t> pixelBytes;   // [line * columns + column]
    std::vector<uint8_t> attributes;   // [line * columns + column]
    size_t attributePairs = 0;
    size_t fileSize = 0;
};

struct Decoded {
    bool ok = false;
    std::string error;   // what is wrong, when not ok
    Picture picture;
};

Decoded decode(std::span<const uint8_t> file);

uint8_t paperOf(uint8_t attribute);
uint8_t inkOf(uint8_t attribute);
Rgb colourOfDigits(uint8_t green, uint8_t red, uint8_t blue);   // digits 0..3

// Index used for the screen outside the picture: black, which need not be
// one of the 16 palette colours.
constexpr uint8_t SCREEN_BACKGROUND = 16;

// Palette indices, one byte per pixel, top row first; colours[16] is the
// screen background.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::array<Rgb, 17> colours{};
    std::vector<uint8_t> pixels;

    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

// The picture alone (8 x columns by 2 x lines pixels), or the whole 640 x 400
// screen with the picture at its placement and black around it.
IndexedImage render(const Picture& picture, bool wholeScreen);

} // namespace grf
