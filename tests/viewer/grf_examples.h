// GRF files for the viewer's tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grfexamples {

// The 146-byte file of a 16 x 6 picture (2 columns, 3 lines): palette entry 1
// blue 170, entry 15 white, the rest black.
inline std::vector<uint8_t> workedExample()
{
    std::string digits = "000002";
    for (int i = 0; i < 13; ++i)
        digits += "000";
    digits += "333";
    std::vector<uint8_t> file(digits.begin(), digits.end());
    file.resize(128, 0x00);
    for (uint8_t b : {0x27, 0x62, 0x02, 0x03, 0x00, 0x00, 0x0F, 0xF0, 0x55, 0x00, 0x02, 0x4F, 0x01, 0x47, 0x02, 0x47, 0x01, 0xFF})
        file.push_back(b);
    return file;
}

// Its pixels as palette indices, one row per line.
inline const uint8_t WORKED_EXAMPLE_LINES[3][16] = {
    {1, 1, 1, 1, 1, 1, 1, 1, 15, 15, 15, 15, 0, 0, 0, 0},
    {1, 1, 1, 1, 1, 1, 1, 1, 0, 15, 0, 15, 0, 15, 0, 15},
    {0, 0, 0, 0, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15},
};

} // namespace grfexamples
