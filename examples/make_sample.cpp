// Writes the sample screen grab: make_sample OUTPUT.bmp
#include <cstdio>

#include "bmp_builder.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample OUTPUT.bmp\n");
        return 2;
    }
    if (!bmp::writeFile(argv[1], bmp::encode(bmp::sampleScreen()))) {
        std::fprintf(stderr, "make_sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
