#include "cell_encoder.h"

#include <cstring>

#include "buffers.h"

namespace {

constexpr int CELL_WIDTH = 8;

// A cell of one colour k (not NO_COLOUR) comes out of the general rules as
// paper k, ink NO_COLOUR and no bit set; it is by far the most common cell,
// so it is recognised with one 8-byte comparison.
bool encodeOneColourCell(const uint8_t* pixels, int32_t line, int32_t column)
{
    uint64_t cell;
    std::memcpy(&cell, pixels, sizeof cell);
    uint8_t colour = pixels[0];
    if (colour == NO_COLOUR || cell != colour * UINT64_C(0x0101010101010101))
        return false;
    lastPaper = colour;
    lastInk = NO_COLOUR;
    BitmapPlane[line][column] = 0x00;
    AttributePlane[line][column] = attributeByte(colour, NO_COLOUR);
    return true;
}

void encodeCell(int32_t line, int32_t column)
{
    const uint8_t* pixels = &PixelPlane[2 * line][CELL_WIDTH * column];
    if (encodeOneColourCell(pixels, line, column))
        return;

    uint8_t paper = NO_COLOUR;
    uint8_t ink = NO_COLOUR;
    for (int i = 0; i < CELL_WIDTH; ++i) {
        uint8_t value = pixels[i];
        if (paper == NO_COLOUR)
            paper = value;
        else if (value != paper && ink == NO_COLOUR)
            ink = value;
    }
    if (paper > ink) {
        uint8_t swap = paper;
        paper = ink;
        ink = swap;
    }
    // Equal only when every pixel is NO_COLOUR: take the colours of the cell
    // before, keeping paper and ink different.
    if (paper == ink) {
        if (ink == lastInk)
            paper = lastPaper;
        else
            ink = lastInk;
    }

    uint8_t bits = 0;
    for (int i = 0; i < CELL_WIDTH; ++i)
        bits = static_cast<uint8_t>((bits << 1) | (pixels[i] != paper ? 1 : 0));

    lastPaper = paper;
    lastInk = ink;
    BitmapPlane[line][column] = bits;
    AttributePlane[line][column] = attributeByte(paper, ink);
}

} // namespace

uint8_t attributeByte(uint8_t paper, uint8_t ink)
{
    return static_cast<uint8_t>((paper & 0x08) << 4 | (ink & 0x08) << 3 | (paper & 0x07) << 3 | (ink & 0x07));
}

void encodeCells()
{
    for (int32_t column = 0; column < columnCount; ++column)
        for (int32_t line = 0; line < lineCount; ++line)
            encodeCell(line, column);
}
