// GRF files for the viewer's tests.
#pragma once

#include <cstddef>
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

// Each broken field of the worked example is named in its own message.
struct Broken {
    const char* name;
    std::vector<uint8_t> file;
    const char* message;
};

inline std::vector<Broken> brokenFiles()
{
    const std::vector<uint8_t> good = grfexamples::workedExample();
    auto with = [&](size_t offset, uint8_t value) {
        std::vector<uint8_t> file = good;
        file[offset] = value;
        return file;
    };
    auto cut = [&](size_t size) { return std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(size)); };
    std::vector<uint8_t> extra = good;
    extra.push_back(0x01);
    std::vector<uint8_t> shortColumn = good;   // column 1: counts 1 + 1 of 3 lines, then the file ends
    shortColumn[142] = 0x01;
    return {
        {"shorter than the header", cut(131), "file is 131 bytes long, shorter than the 132-byte header"},
        {"palette digit 4", with(5, '4'), "palette digit at offset 5 is 0x34, not '0' to '3'"},
        {"reserved byte set", with(100, 0x01), "reserved byte at offset 100 is 0x01, not 0x00"},
        {"placement beyond the right edge", with(128, 79), "a picture of 2 x 3 cells at column 79, line 98 does not fit the 80 x 200 screen"},
        {"placement beyond the bottom", with(129, 198), "a picture of 2 x 3 cells at column 39, line 198 does not fit the 80 x 200 screen"},
        {"pixel section cut short", cut(136), "pixel section is cut short: 4 of 6 bytes"},
        {"pair with count 0", with(138, 0x00), "attribute pair at offset 138 has count 0"},
        {"counts overrun the column", with(138, 0x04), "attribute runs of column 0 add up to more than its 3 lines"},
        {"counts fall short", cut(142), "attribute runs end before column 1 is complete"},
        {"file ends inside a pair", cut(145), "file ends inside the attribute pair at offset 144"},
        {"counts fall short of the last column", shortColumn, "attribute runs end before column 1 is complete"},
        {"bytes after the last column", extra, "1 byte after the last column"},
    };
}

} // namespace grfexamples
