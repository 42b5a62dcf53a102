// Reading the loaded BMP: the few header fields the conversion relies on, the
// 16-entry colour table and the pixel rows.
//
// Fields read, all from InputBuffer (multi-byte values little-endian, signed
// 32-bit); no other byte of the header is looked at:
//
//   offset  bytes  field                     use
//   10      4      bfOffBits                 pixelDataOffset, start of the pixel rows
//   18      4      biWidth                   width in pixels: <= 640, multiple of 8
//   22      4      biHeight                  height in rows: <= 400, even
//   28      1      low byte of biBitCount    must be 8
//   46      1      low byte of biClrUsed     must be 16
//   54      64     colour table              16 x (blue, green, red, reserved)
//   bfOffBits  width x height  pixel rows    bottom row first, one byte a pixel
//
// The colour table always starts at offset 54, whatever biSize says, and the
// pixel rows carry no padding: a width that is a multiple of 8 is already a
// multiple of 4. Signature, sizes, planes and compression are not examined.
// A height of zero or less reads no row; a width of zero or less reads no
// pixel. Any offset outside InputBuffer reads as 0, like the bytes past the
// end of the loaded file.
#pragma once

#include <cstdint>

constexpr int32_t COLOUR_TABLE_OFFSET = 54;
constexpr int32_t PIXEL_OFFSET_FIELD = 10;
constexpr int32_t WIDTH_FIELD = 18;
constexpr int32_t HEIGHT_FIELD = 22;
constexpr int32_t BIT_COUNT_FIELD = 28;
constexpr int32_t COLOURS_USED_FIELD = 46;
constexpr int32_t MAX_WIDTH = 640;
constexpr int32_t MAX_HEIGHT = 400;

extern int32_t ReadCursor;        // offset of the byte readByte returns next
extern int32_t pixelDataOffset;   // bfOffBits

// The byte at ReadCursor (0 outside InputBuffer); advances ReadCursor.
uint8_t readByte();

// Checks the header, writes the line count and fills Palette and PixelPlane,
// columnCount and lineCount. Returns only for an accepted picture; a rejected
// one ends the process with its message line and exit code 1.
void readBitmap();
