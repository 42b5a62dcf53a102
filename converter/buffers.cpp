#include "buffers.h"

#include <cstring>

uint8_t InputBuffer[INPUT_CAPACITY];
uint8_t Palette[PALETTE_ENTRIES][3];
uint8_t PixelPlane[PIXEL_ROWS][PIXEL_COLUMNS];
uint8_t BitmapPlane[CELL_LINES][CELL_COLUMNS];
uint8_t AttributePlane[CELL_LINES][CELL_COLUMNS];
uint8_t OutputBuffer[OUTPUT_CAPACITY];
int32_t OutputLength;
int32_t columnCount;
int32_t lineCount;
uint8_t lastPaper;
uint8_t lastInk;

void clearTables()
{
    std::memset(InputBuffer, 0, sizeof InputBuffer);
    std::memset(Palette, 0, sizeof Palette);
    std::memset(PixelPlane, 0, sizeof PixelPlane);
    std::memset(BitmapPlane, 0, sizeof BitmapPlane);
    std::memset(AttributePlane, 0, sizeof AttributePlane);
    std::memset(OutputBuffer, 0, sizeof OutputBuffer);
    OutputLength = 0;
    columnCount = 0;
    lineCount = 0;
    lastPaper = 0;
    lastInk = 0;
}
