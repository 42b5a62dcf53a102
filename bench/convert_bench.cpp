// The in-process conversion on an already loaded InputBuffer: readBitmap,
// encodeCells and buildGrfFile, for the sample screen grab and the worst case
// for the GRF file size. Reports bytes of pixel data per second.
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

#include "bitmap_input.h"
#include "bmp_builder.h"
#include "buffers.h"
#include "cell_encoder.h"
#include "grf_format.h"
#include "memory_platform.h"

namespace {

constexpr int64_t PIXEL_BYTES = 640 * 400;

void load(const std::vector<uint8_t>& file)
{
    clearTables();
    std::memcpy(InputBuffer, file.data(), file.size());
}

// One conversion as the run makes it, after the load. The line-count line
// goes to the in-memory console, cleared each round.
void convertLoaded()
{
    memoryio::console.clear();
    lastPaper = 0;
    lastInk = 0;
    readBitmap();
    encodeCells();
    buildGrfFile();
}

void runBenchmark(benchmark::State& state, const bmp::Picture& picture, int32_t expectedLength)
{
    load(bmp::encode(picture));
    for (auto _ : state) {
        convertLoaded();
        benchmark::DoNotOptimize(OutputBuffer);
        benchmark::ClobberMemory();
    }
    if (OutputLength != expectedLength)
        state.SkipWithError("unexpected GRF length");
    state.SetBytesProcessed(state.iterations() * PIXEL_BYTES);
    state.counters["grf_bytes"] = OutputLength;
}

void BM_SampleScreen(benchmark::State& state)
{
    runBenchmark(state, bmp::sampleScreen(), 17880);
}

void BM_WorstCase(benchmark::State& state)
{
    runBenchmark(state, bmp::pictureWithPairs(16000), LARGEST_GRF_FILE);
}

BENCHMARK(BM_SampleScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorstCase)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
