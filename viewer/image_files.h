// The picture files grfview writes and reads, built in memory so that a file
// is only created once its whole content is known.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "grf_decoder.h"

namespace images {

// 8-bit RGB PNG.
std::vector<uint8_t> encodePng(int width, int height, std::span<const uint8_t> rgb);

// The RGB pixels of an indexed image, three bytes a pixel.
std::vector<uint8_t> toRgb(const grf::IndexedImage& image);

// The BMP that ombrix2grf takes: 8 bits per pixel, a 16-entry colour table
// at offset 54, pixel rows bottom-up from offset 118, biClrUsed 16. Pixels of
// the screen background take the palette entry that is black, or the
// darkest one when none is.
std::vector<uint8_t> encodeBmp(const grf::IndexedImage& image);

// A source screen grab: an uncompressed 8-bit BMP with at most 16 colours.
struct SourceImage {
    int width = 0;
    int height = 0;
    std::vector<grf::Rgb> colours;   // the colour table
    std::vector<uint8_t> pixels;     // palette indices, top row first
};

struct ReadSource {
    bool ok = false;
    std::string error;
    SourceImage image;
};

ReadSource decodeBmp(std::span<const uint8_t> file);

} // namespace images
