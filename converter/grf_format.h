// The GRF picture file of the TurboATM, assembled in OutputBuffer.
//
// All fields are single bytes; there is no signature, length field, checksum
// or terminator: the file ends with its last attribute pair.
//
//   offset          size        field             content
//   0               48          palette digits    per entry 0..15: green, red, blue as
//                                                 '0' + component div 64 ("0".."3")
//   48              80          reserved          0x00
//   128             1           columnOffset      (80 - columnCount) div 2
//   129             1           lineOffset        (200 - lineCount) div 2
//   130             1           width             columnCount (byte columns of 8 pixels)
//   131             1           height            lineCount (lines)
//   132             W x H       pixel section     BitmapPlane column by column, each
//                                                 column from its top line down
//   132 + W x H     2 x R       attribute runs    R pairs (count, attribute), column by
//                                                 column; a pair never spans two columns
//
// Bytes 128 to 131 are the low 8 bits of signed values; div truncates toward
// zero. The offsets centre the picture on the 80 x 200 screen. With at least
// one line, the counts of a column add up to its height; a column without
// lines still gets one pair (0, run value). The largest file, 80 x 200 cells
// with every attribute different from the one above it, is
// 132 + 16,000 + 32,000 = 48,132 bytes.
#pragma once

#include <cstdint>

constexpr int32_t RESERVED_OFFSET = 48;
constexpr int32_t RESERVED_SIZE = 80;
constexpr int32_t PLACEMENT_OFFSET = 128;
constexpr int32_t PIXEL_SECTION_OFFSET = 132;
constexpr int32_t SCREEN_COLUMNS = 80;
constexpr int32_t SCREEN_LINES = 200;
constexpr int32_t LARGEST_GRF_FILE = 48132;

// Stores one byte at OutputBuffer[OutputLength] and counts it. No bound
// check: the header limits keep every file within LARGEST_GRF_FILE.
void appendByte(uint8_t value);

// Assembles the whole file from Palette, BitmapPlane, AttributePlane,
// columnCount, lineCount and the final lastPaper, from OutputLength 0.
void buildGrfFile();
