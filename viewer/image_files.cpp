#include "image_files.h"

#include <stb_image_write.h>

namespace images {

namespace {

constexpr uint32_t BMP_FILE_HEADER = 14;
constexpr uint32_t BMP_INFO_HEADER = 40;
constexpr uint32_t BMP_PIXEL_OFFSET = BMP_FILE_HEADER + BMP_INFO_HEADER + 16 * 4;   // 118

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

uint32_t get32(std::span<const uint8_t> file, size_t at)
{
    return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | static_cast<uint32_t>(file[at + 3]) << 24;
}

uint8_t backgroundEntry(const grf::IndexedImage& image)
{
    uint8_t darkest = 0;
    int darkestSum = 1 << 30;
    for (uint8_t i = 0; i < 16; ++i) {
        const grf::Rgb& c = image.colours[i];
        int sum = c.red + c.green + c.blue;
        if (sum < darkestSum) {
            darkest = i;
            darkestSum = sum;
        }
    }
    return darkest;
}

void appendToVector(void* context, void* data, int size)
{
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

ReadSource sourceError(std::string error)
{
    ReadSource result;
    result.error = std::move(error);
    return result;
}

} // namespace

std::vector<uint8_t> encodePng(int width, int height, std::span<const uint8_t> rgb)
{
    std::vector<uint8_t> out;
    if (stbi_write_png_to_func(appendToVector, &out, width, height, 3, rgb.data(), width * 3) == 0)
        out.clear();
    return out;
}

std::vector<uint8_t> toRgb(const grf::IndexedImage& image)
{
    std::vector<uint8_t> rgb;
    rgb.reserve(image.pixels.size() * 3);
    for (uint8_t index : image.pixels) {
        const grf::Rgb& c = image.colours[index];
        rgb.push_back(c.red);
        rgb.push_back(c.green);
        rgb.push_back(c.blue);
    }
    return rgb;
}

std::vector<uint8_t> encodeBmp(const grf::IndexedImage& image)
{
    uint32_t pixelBytes = static_cast<uint32_t>(image.width) * static_cast<uint32_t>(image.height);
    std::vector<uint8_t> out;
    out.reserve(BMP_PIXEL_OFFSET + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, BMP_PIXEL_OFFSET + pixelBytes);
    put32(out, 0);
    put32(out, BMP_PIXEL_OFFSET);
    put32(out, BMP_INFO_HEADER);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));   // positive: bottom-up rows
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);                                    // no compression
    put32(out, pixelBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 16);                                   // biClrUsed
    put32(out, 16);
    for (size_t i = 0; i < 16; ++i) {
        const grf::Rgb& c = image.colours[i];
        out.insert(out.end(), {c.blue, c.green, c.red, 0});
    }
    // Widths are multiples of 8, so rows need no padding.
    uint8_t background = backgroundEntry(image);
    for (int y = image.height - 1; y >= 0; --y)
        for (int x = 0; x < image.width; ++x) {
            uint8_t index = image.at(x, y);
            out.push_back(index == grf::SCREEN_BACKGROUND ? background : index);
        }
    return out;
}

ReadSource decodeBmp(std::span<const uint8_t> file)
{
    if (file.size() < BMP_FILE_HEADER + BMP_INFO_HEADER)
        return sourceError("too short for a BMP header");
    if (file[0] != 'B' || file[1] != 'M')
        return sourceError("not a BMP file (no \"BM\" signature)");
    uint32_t pixelOffset = get32(file, 10);
    uint32_t headerSize = get32(file, 14);
    int32_t width = static_cast<int32_t>(get32(file, 18));
    int32_t height = static_cast<int32_t>(get32(file, 22));
    uint32_t bitCount = file[28] | file[29] << 8;
    uint32_t compression = get32(file, 30);
    uint32_t coloursUsed = get32(file, 46);
    if (bitCount != 8)
        return sourceError("not 8 bits per pixel");
    if (compression != 0)
        return sourceError("compressed BMP");
    if (coloursUsed != 16)
        return sourceError("colour table does not hold exactly 16 colours");
    if (width <= 0 || width > grf::SCREEN_WIDTH || height == 0 || height < -grf::SCREEN_HEIGHT || height > grf::SCREEN_HEIGHT)
        return sourceError("picture size " + std::to_string(width) + " x " + std::to_string(height) + " is outside 640 x 400");
    size_t tableOffset = BMP_FILE_HEADER + headerSize;
    if (headerSize < BMP_INFO_HEADER || tableOffset + 16 * 4 > file.size())
        return sourceError("colour table missing");
    ReadSource result;
    SourceImage& image = result.image;
    image.width = width;
    image.height = height < 0 ? -height : height;
    for (size_t i = 0; i < 16; ++i) {
        const uint8_t* entry = &file[tableOffset + 4 * i];
        image.colours.push_back({entry[2], entry[1], entry[0]});
    }
    size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
    if (pixelOffset > file.size() || file.size() - pixelOffset < stride * static_cast<size_t>(image.height))
        return sourceError("pixel data cut short");
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (int row = 0; row < image.height; ++row) {
        int y = height > 0 ? image.height - 1 - row : row;   // positive height: bottom-up
        const uint8_t* stored = &file[pixelOffset + stride * static_cast<size_t>(row)];
        std::copy(stored, stored + width, image.pixels.begin() + static_cast<ptrdiff_t>(static_cast<size_t>(y) * static_cast<size_t>(width)));
    }
    result.ok = true;
    return result;
}

} // namespace images
