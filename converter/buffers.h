// The shared tables of a conversion. Every table is fixed in size, lives for
// the whole process and starts zero-filled (static storage); nothing is
// allocated for picture data while a conversion runs. Data passes between the
// steps of a run only through these tables.
#pragma once

#include <cstdint>

constexpr int32_t INPUT_CAPACITY = 1048576;   // largest accepted input file
constexpr int32_t OUTPUT_CAPACITY = 65536;    // room for the largest GRF file (48,132 bytes)
constexpr int32_t PALETTE_ENTRIES = 16;
constexpr int32_t PIXEL_ROWS = 400;           // rows of the PC screen grab
constexpr int32_t PIXEL_COLUMNS = 640;
constexpr int32_t CELL_LINES = 200;           // kept rows: every second one
constexpr int32_t CELL_COLUMNS = 80;          // 8 pixels per cell

// Palette components are stored green, red, blue.
constexpr int PALETTE_GREEN = 0;
constexpr int PALETTE_RED = 1;
constexpr int PALETTE_BLUE = 2;

// The whole input file from offset 0; every byte past the end of the loaded
// file is 0 because the load is the only writer.
extern uint8_t InputBuffer[INPUT_CAPACITY];
extern uint8_t Palette[PALETTE_ENTRIES][3];
extern uint8_t PixelPlane[PIXEL_ROWS][PIXEL_COLUMNS];    // [row][column], row 0 at the top
extern uint8_t BitmapPlane[CELL_LINES][CELL_COLUMNS];    // [line][column]: pixel byte of each cell
extern uint8_t AttributePlane[CELL_LINES][CELL_COLUMNS]; // [line][column]: attribute byte of each cell
extern uint8_t OutputBuffer[OUTPUT_CAPACITY];
extern int32_t OutputLength;

// Width div 8 and height div 2 of the accepted picture; zero or negative for a
// top-down or empty BMP.
extern int32_t columnCount;
extern int32_t lineCount;

// Paper and ink of the cell encoded last; the final lastPaper also starts the
// attribute runs of the GRF file.
extern uint8_t lastPaper;
extern uint8_t lastInk;

// Puts every table back to its zero-filled start, for harnesses that run more
// than one conversion in one process. A normal run never calls it.
void clearTables();
