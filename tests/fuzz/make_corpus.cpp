// Writes the fuzzers' seed corpus: make_corpus DIRECTORY
#include <climits>
#include <cstdio>
#include <string>

#include "bmp_builder.h"

namespace {

std::vector<uint8_t> patterned(int32_t width, int32_t height)
{
    bmp::Picture picture = bmp::blankPicture(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            picture.at(x, y) = static_cast<uint8_t>((x / 3 + y / 2) % 5 == 0 ? 255 : (x * 5 + y / 2) % 16);
    bmp::doubleLines(picture);
    return bmp::encode(picture);
}

std::vector<uint8_t> withField(std::vector<uint8_t> file, size_t offset, int32_t value)
{
    bmp::putInt32(file, offset, value);
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus DIRECTORY\n");
        return 2;
    }
    std::string dir = argv[1];
    const std::vector<uint8_t> small = patterned(16, 6);
    std::vector<uint8_t> truncated = patterned(64, 20);
    truncated.resize(600);
    std::vector<uint8_t> tooSmall = small;
    tooSmall.resize(118);
    std::vector<uint8_t> smallest = small;
    smallest.resize(119);
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } seeds[] = {
        {"full-640x400.bmp", bmp::encode(bmp::sampleScreen())},
        {"small-16x6.bmp", small},
        {"one-cell-8x2.bmp", patterned(8, 2)},
        {"strip-640x2.bmp", patterned(640, 2)},
        {"column-8x400.bmp", patterned(8, 400)},
        {"truncated-64x20.bmp", truncated},
        {"size-118.bmp", tooSmall},
        {"size-119.bmp", smallest},
        {"width-0.bmp", withField(small, 18, 0)},
        {"width-negative.bmp", withField(small, 18, -8)},
        {"width-min.bmp", withField(small, 18, INT32_MIN)},
        {"height-0.bmp", withField(small, 22, 0)},
        {"height-topdown.bmp", withField(small, 22, -6)},
        {"height-min.bmp", withField(small, 22, INT32_MIN)},
        {"offbits-0.bmp", withField(small, 10, 0)},
        {"offbits-54.bmp", withField(small, 10, 54)},
        {"offbits-huge.bmp", withField(small, 10, INT32_MAX)},
        {"offbits-negative.bmp", withField(small, 10, -100000)},
        {"offbits-buffer-end.bmp", withField(small, 10, 1048576 - 40)},
        {"bitcount-4.bmp", withField(small, 28, 4)},
        {"colours-0.bmp", withField(small, 46, 0)},
        {"height-402.bmp", withField(small, 22, 402)},
        {"width-636.bmp", withField(small, 18, 636)},
    };
    for (const auto& seed : seeds)
        if (!bmp::writeFile(dir + "/" + seed.name, seed.bytes)) {
            std::fprintf(stderr, "make_corpus: cannot write %s\n", seed.name);
            return 1;
        }
    return 0;
}
