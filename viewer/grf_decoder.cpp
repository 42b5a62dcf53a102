#include "grf_decoder.h"

#include <cstdio>

namespace grf {

namespace {

constexpr size_t PALETTE_DIGITS = 48;
constexpr size_t RESERVED_OFFSET = 48;
constexpr size_t PLACEMENT_OFFSET = 128;

std::string hexByte(uint8_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

Decoded failure(std::string error)
{
    Decoded result;
    result.error = std::move(error);
    return result;
}

// Reads the pairs of every column; returns an empty string or what is wrong.
std::string readAttributeRuns(std::span<const uint8_t> file, size_t at, Picture& picture)
{
    picture.attributes.assign(static_cast<size_t>(picture.columns) * static_cast<size_t>(picture.lines), 0);
    for (int column = 0; column < picture.columns; ++column) {
        int line = 0;
        do {
            if (at >= file.size())
                return "attribute runs end before column " + std::to_string(column) + " is complete";
            if (at + 1 >= file.size())
                return "file ends inside the attribute pair at offset " + std::to_string(at);
            int count = file[at];
            uint8_t value = file[at + 1];
            if (count == 0 && picture.lines > 0)
                return "attribute pair at offset " + std::to_string(at) + " has count 0";
            if (line + count > picture.lines)
                return "attribute runs of column " + std::to_string(column) + " add up to more than its "
                       + std::to_string(picture.lines) + " lines";
            for (int n = 0; n < count; ++n)
                picture.attributes[static_cast<size_t>(line + n) * static_cast<size_t>(picture.columns) + static_cast<size_t>(column)] = value;
            line += count;
            at += 2;
            ++picture.attributePairs;
        } while (line < picture.lines);
    }
    if (at != file.size())
        return std::to_string(file.size() - at) + (file.size() - at == 1 ? " byte" : " bytes") + " after the last column";
    return "";
}

} // namespace

Rgb colourOfDigits(uint8_t green, uint8_t red, uint8_t blue)
{
    return {static_cast<uint8_t>(85 * red), static_cast<uint8_t>(85 * green), static_cast<uint8_t>(85 * blue)};
}

uint8_t paperOf(uint8_t attribute)
{
    return static_cast<uint8_t>(((attribute >> 4) & 0x08) | ((attribute >> 3) & 0x07));
}

uint8_t inkOf(uint8_t attribute)
{
    return static_cast<uint8_t>(((attribute >> 3) & 0x08) | (attribute & 0x07));
}

Decoded decode(std::span<const uint8_t> file)
{
    if (file.size() < HEADER_SIZE)
        return failure("file is " + std::to_string(file.size()) + " bytes long, shorter than the "
                       + std::to_string(HEADER_SIZE) + "-byte header");
    Picture picture;
    picture.fileSize = file.size();
    for (size_t i = 0; i < PALETTE_DIGITS; ++i)
        if (file[i] < '0' || file[i] > '3')
            return failure("palette digit at offset " + std::to_string(i) + " is " + hexByte(file[i])
                           + ", not '0' to '3'");
    for (size_t entry = 0; entry < 16; ++entry) {
        const uint8_t* digits = &file[3 * entry];
        picture.palette[entry] = colourOfDigits(static_cast<uint8_t>(digits[0] - '0'), static_cast<uint8_t>(digits[1] - '0'),
                                                static_cast<uint8_t>(digits[2] - '0'));
    }
    for (size_t i = RESERVED_OFFSET; i < PLACEMENT_OFFSET; ++i)
        if (file[i] != 0)
            return failure("reserved byte at offset " + std::to_string(i) + " is " + hexByte(file[i]) + ", not 0x00");

    picture.columnOffset = file[128];
    picture.lineOffset = file[129];
    picture.columns = file[130];
    picture.lines = file[131];
    if (picture.columnOffset + picture.columns > SCREEN_COLUMNS || picture.lineOffset + picture.lines > SCREEN_LINES)
        return failure("a picture of " + std::to_string(picture.columns) + " x " + std::to_string(picture.lines)
                       + " cells at column " + std::to_string(picture.columnOffset) + ", line "
                       + std::to_string(picture.lineOffset) + " does not fit the 80 x 200 screen");

    size_t cells = static_cast<size_t>(picture.columns) * static_cast<size_t>(picture.lines);
    if (file.size() - HEADER_SIZE < cells)
        return failure("pixel section is cut short: " + std::to_string(file.size() - HEADER_SIZE) + " of "
                       + std::to_string(cells) + " bytes");
    picture.pixelBytes.assign(cells, 0);
    for (int column = 0; column < picture.columns; ++column)
        for (int line = 0; line < picture.lines; ++line)
            picture.pixelBytes[static_cast<size_t>(line) * static_cast<size_t>(picture.columns) + static_cast<size_t>(column)] =
                file[HEADER_SIZE + static_cast<size_t>(column) * static_cast<size_t>(picture.lines) + static_cast<size_t>(line)];

    std::string problem = readAttributeRuns(file, HEADER_SIZE + cells, picture);
    if (!problem.empty())
        return failure(problem);
    Decoded result;
    result.ok = true;
    result.picture = std::move(picture);
    return result;
}

IndexedImage render(const Picture& picture, bool wholeScreen)
{
    IndexedImage image;
    image.width = wholeScreen ? SCREEN_WIDTH : 8 * picture.columns;
    image.height = wholeScreen ? SCREEN_HEIGHT : 2 * picture.lines;
    for (size_t i = 0; i < 16; ++i)
        image.colours[i] = picture.palette[i];
    image.colours[SCREEN_BACKGROUND] = Rgb{};
    image.pixels.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), SCREEN_BACKGROUND);
    int left = wholeScreen ? 8 * picture.columnOffset : 0;
    int top = wholeScreen ? 2 * picture.lineOffset : 0;
    for (int line = 0; line < picture.lines; ++line) {
        for (int column = 0; column < picture.columns; ++column) {
            size_t cell = static_cast<size_t>(line) * static_cast<size_t>(picture.columns) + static_cast<size_t>(column);
            uint8_t bits = picture.pixelBytes[cell];
            uint8_t paper = paperOf(picture.attributes[cell]);
            uint8_t ink = inkOf(picture.attributes[cell]);
            for (int bit = 0; bit < 8; ++bit) {
                uint8_t index = (bits & (0x80 >> bit)) ? ink : paper;
                size_t x = static_cast<size_t>(left + 8 * column + bit);
                for (int row = 0; row < 2; ++row)   // every line shown twice
                    image.pixels[static_cast<size_t>(top + 2 * line + row) * static_cast<size_t>(image.width) + x] = index;
            }
        }
    }
    return image;
}

} // namespace grf
