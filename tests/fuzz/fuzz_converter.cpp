// Fuzz target: the whole conversion from input file bytes to GRF bytes, with
// the invariants every run must keep checked after it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "buffers.h"
#include "conversion_run.h"
#include "memory_platform.h"
#include "grf_format.h"

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\nconsole:\n%s\n", what, memoryio::console.c_str());
        std::abort();
    }
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Each column's attribute counts add up to its height.
void checkAttributeRuns()
{
    int32_t columns = columnCount > 0 ? columnCount : 0;
    int32_t lines = lineCount > 0 ? lineCount : 0;
    size_t at = PIXEL_SECTION_OFFSET + static_cast<size_t>(columns) * static_cast<size_t>(lines);
    const std::vector<uint8_t>& file = memoryio::outputFile;
    for (int32_t c = 0; c < columns; ++c) {
        int32_t sum = 0;
        do {
            require(at + 1 < file.size(), "attribute section cut short");
            require(lines == 0 || file[at] != 0, "pair with count 0 in a column with lines");
            sum += file[at];
            at += 2;
        } while (sum < lines);
        require(sum == lines, "counts overrun the column");
    }
    require(at == file.size(), "bytes after the last column");
}

void checkCompletedRun()
{
    require(memoryio::outputCreated, "completed without creating the output");
    require(memoryio::outputFile.size() == static_cast<size_t>(OutputLength), "written length differs from OutputLength");
    require(std::memcmp(memoryio::outputFile.data(), OutputBuffer, memoryio::outputFile.size()) == 0, "written bytes differ");
    require(OutputLength <= LARGEST_GRF_FILE, "file longer than the largest GRF file");
    std::string total = "total bytes=" + std::to_string(OutputLength) + "\r\n";
    bool warned = OutputLength > SIZE_WARNING;
    require(endsWith(memoryio::console, warned ? total + "file too long!\r\n" : total), "total or warning line wrong");
    checkAttributeRuns();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    clearTables();
    memoryio::reset(data, size);
    char name[] = "fuzz.bmp";
    char* arguments[] = {name};
    bool completed = false;
    try {
        runConversion(1, arguments);
        completed = true;
    } catch (const memoryio::ProcessEnd& end) {
        require(end.exitCode == 1, "process ended early with an exit code other than 1");
        require(!memoryio::outputCreated, "output created by a run that did not complete");
    }
    if (completed)
        checkCompletedRun();
    require(endsWith(memoryio::console, "\r\n"), "console does not end with a line end");
    return 0;
}
