#include "bitmap_input.h"

#include <cstring>

#include "buffers.h"
#include "conversion_run.h"

int32_t ReadCursor;
int32_t pixelDataOffset;

namespace {

int32_t readInt32At(int32_t offset)
{
    ReadCursor = offset;
    uint32_t value = readByte();
    value |= static_cast<uint32_t>(readByte()) << 8;
    value |= static_cast<uint32_t>(readByte()) << 16;
    value |= static_cast<uint32_t>(readByte()) << 24;
    return static_cast<int32_t>(value);   // two's complement
}

uint8_t readByteAt(int32_t offset)
{
    ReadCursor = offset;
    return readByte();
}

void readColourTable()
{
    ReadCursor = COLOUR_TABLE_OFFSET;
    for (int i = 0; i < PALETTE_ENTRIES; ++i) {
        Palette[i][PALETTE_BLUE] = readByte();
        Palette[i][PALETTE_GREEN] = readByte();
        Palette[i][PALETTE_RED] = readByte();
        readByte();   // reserved
    }
}

// One stored row into PixelPlane row y. A row lying wholly inside the buffer
// is copied in one go; the byte-by-byte path gives the same bytes and covers
// rows that reach outside.
void readRow(int32_t y, int32_t width)
{
    int32_t start = ReadCursor;
    if (start >= 0 && start <= INPUT_CAPACITY - width) {
        std::memcpy(PixelPlane[y], InputBuffer + start, static_cast<size_t>(width));
        ReadCursor = start + width;
        return;
    }
    for (int32_t x = 0; x < width; ++x)
        PixelPlane[y][x] = readByte();
}

// Rows are stored bottom-up: the first stored row is the bottom of the picture.
void readPixelRows(int32_t width, int32_t height)
{
    ReadCursor = pixelDataOffset;
    // Checked before height - 1 is formed, so INT32_MIN reads nothing either.
    if (width <= 0 || height <= 0)
        return;
    for (int32_t y = height - 1; y >= 0; --y)
        readRow(y, width);
}

} // namespace

uint8_t readByte()
{
    int32_t at = ReadCursor;
    ReadCursor = static_cast<int32_t>(static_cast<uint32_t>(at) + 1u);   // wraps instead of overflowing
    return (at >= 0 && at < INPUT_CAPACITY) ? InputBuffer[at] : 0;
}

void readBitmap()
{
    pixelDataOffset = readInt32At(PIXEL_OFFSET_FIELD);
    int32_t width = readInt32At(WIDTH_FIELD);
    int32_t height = readInt32At(HEIGHT_FIELD);

    // Height is tested before width; there is no lower bound.
    if (height > MAX_HEIGHT)
        rejectInput("hgt>400");
    if (width > MAX_WIDTH)
        rejectInput("wid>640");
    if (width % 8 != 0)
        rejectInput("(wid mod 8)<>0");
    columnCount = width / 8;
    if (height % 2 != 0)
        rejectInput("(hgt mod 2)<>0");
    lineCount = height / 2;
    writeConsoleNumberLine(lineCount);
    if (readByteAt(BIT_COUNT_FIELD) != 8)
        rejectInput("not 8bit");
    if (readByteAt(COLOURS_USED_FIELD) != 16)
        rejectInput("not 16 color");

    readColourTable();
    // The tests above keep the rows within 400 and the columns within 640,
    // so every row lands inside PixelPlane.
    readPixelRows(width, height);
}
