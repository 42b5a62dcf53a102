// An in-memory stand-in for the platform module, so that whole conversions
// run inside one process (fuzzing, corpus replay, benchmarks): the input file
// is a byte range, the output file and the console are captured, and the
// process end is turned into an exception the caller catches.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace memoryio {

struct ProcessEnd {
    int exitCode;
};

void reset(const uint8_t* input, size_t size);

extern std::string console;
extern std::vector<uint8_t> outputFile;
extern bool outputCreated;

} // namespace memoryio
