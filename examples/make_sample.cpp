// Writes the sample screen grab, or the worst case for the GRF file size:
//   make_sample OUTPUT.bmp
//   make_sample --worst-case OUTPUT.bmp
#include <cstdio>
#include <cstring>

#include "bmp_builder.h"

int main(int argc, char** argv)
{
    bool worstCase = argc == 3 && std::strcmp(argv[1], "--worst-case") == 0;
    if (argc != 2 && !worstCase) {
        std::fprintf(stderr, "usage: make_sample [--worst-case] OUTPUT.bmp\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    bmp::Picture picture = worstCase ? bmp::pictureWithPairs(16000) : bmp::sampleScreen();
    if (!bmp::writeFile(path, bmp::encode(picture))) {
        std::fprintf(stderr, "make_sample: cannot write %s\n", path);
        return 1;
    }
    return 0;
}
