#include "grf_format.h"

#include "buffers.h"

static_assert(LARGEST_GRF_FILE <= OUTPUT_CAPACITY, "the largest GRF file must fit in OutputBuffer");

namespace {

uint8_t paletteDigit(uint8_t component)
{
    return static_cast<uint8_t>('0' + component / 64);
}

void appendPalette()
{
    for (int entry = 0; entry < PALETTE_ENTRIES; ++entry) {
        appendByte(paletteDigit(Palette[entry][PALETTE_GREEN]));
        appendByte(paletteDigit(Palette[entry][PALETTE_RED]));
        appendByte(paletteDigit(Palette[entry][PALETTE_BLUE]));
    }
}

void appendLowByte(int32_t value)
{
    appendByte(static_cast<uint8_t>(value & 0xFF));
}

void appendPlacement()
{
    appendLowByte((SCREEN_COLUMNS - columnCount) / 2);
    appendLowByte((SCREEN_LINES - lineCount) / 2);
    appendLowByte(columnCount);
    appendLowByte(lineCount);
}

void appendPixelSection()
{
    for (int32_t column = 0; column < columnCount; ++column)
        for (int32_t line = 0; line < lineCount; ++line)
            appendByte(BitmapPlane[line][column]);
}

// The run value carries over from column to column, but the count restarts,
// so every column opens its own first pair.
void appendAttributeRuns()
{
    uint8_t runValue = lastPaper;
    for (int32_t column = 0; column < columnCount; ++column) {
        int32_t runCount = 0;
        for (int32_t line = 0; line < lineCount; ++line) {
            uint8_t value = AttributePlane[line][column];
            if (value == runValue) {
                ++runCount;
                continue;
            }
            if (runCount != 0) {
                appendLowByte(runCount);
                appendByte(runValue);
            }
            runValue = value;
            runCount = 1;
        }
        appendLowByte(runCount);
        appendByte(runValue);
    }
}

} // namespace

void appendByte(uint8_t value)
{
    OutputBuffer[OutputLength] = value;
    ++OutputLength;
}

void buildGrfFile()
{
    OutputLength = 0;
    appendPalette();
    for (int32_t i = 0; i < RESERVED_SIZE; ++i)
        appendByte(0);
    appendPlacement();
    appendPixelSection();
    appendAttributeRuns();
}
