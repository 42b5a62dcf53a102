// Encoding the picture into cells: for every 8 pixels of a kept row, a pixel
// byte (bit 7 the leftmost pixel, 1 for ink) and an attribute byte naming the
// cell's two colours. Only the even rows of PixelPlane are read.
//
// Attribute byte:
//
//   bit   7        6        5 4 3          2 1 0
//         paper b3 ink b3   paper b2..b0   ink b2..b0
//
// that is 128 x (paper bit 3) + 64 x (ink bit 3) + 8 x (paper mod 8) + (ink mod 8);
// only the low four bits of each colour reach it. Paper 2, ink 12 gives 0x54.
//
// Colours are chosen left to right and compared as whole bytes: paper is the
// smaller of the first two distinct values, ink the larger; a third value
// shows in ink. A one-colour cell keeps NO_COLOUR as its ink. A cell whose
// pixels are all NO_COLOUR borrows from the cell encoded before it, in the
// visiting order: column by column, each column top to bottom.
#pragma once

#include <cstdint>

constexpr uint8_t NO_COLOUR = 255;

uint8_t attributeByte(uint8_t paper, uint8_t ink);

// Fills BitmapPlane and AttributePlane for columnCount x lineCount cells,
// carrying lastPaper and lastInk from cell to cell.
void encodeCells();
