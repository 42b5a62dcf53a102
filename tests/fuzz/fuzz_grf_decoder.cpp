// Fuzz target: grfview's decoder on arbitrary bytes, then its rendering and
// the BMP it writes, read back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "grf_decoder.h"
#include "image_files.h"

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    grf::Decoded decoded = grf::decode(std::span<const uint8_t>(data, size));
    if (!decoded.ok) {
        require(!decoded.error.empty(), "rejected without a message");
        return 0;
    }
    const grf::Picture& p = decoded.picture;
    require(p.fileSize == size, "file size");
    require(p.columnOffset + p.columns <= grf::SCREEN_COLUMNS && p.lineOffset + p.lines <= grf::SCREEN_LINES, "placement");
    require(size == grf::HEADER_SIZE + p.pixelBytes.size() + 2 * p.attributePairs, "every byte accounted for");

    grf::IndexedImage screen = grf::render(p, true);
    require(screen.width == grf::SCREEN_WIDTH && screen.height == grf::SCREEN_HEIGHT, "screen size");
    grf::IndexedImage image = grf::render(p, false);
    if (image.width == 0 || image.height == 0)
        return 0;
    images::ReadSource back = images::decodeBmp(images::encodeBmp(image));
    require(back.ok, "written BMP does not read back");
    require(back.image.pixels == image.pixels, "BMP pixels differ");
    return 0;
}
