#include "memory_platform.h"

#include <cerrno>
#include <cstring>

#include "platform.h"

namespace memoryio {

std::string console;
std::vector<uint8_t> outputFile;
bool outputCreated;

namespace {

constexpr FileHandle INPUT_HANDLE = 3;
constexpr FileHandle OUTPUT_HANDLE = 4;
const uint8_t* inputBytes;
size_t inputSize;
size_t inputPosition;

} // namespace

void reset(const uint8_t* input, size_t size)
{
    inputBytes = input;
    inputSize = size;
    inputPosition = 0;
    console.clear();
    outputFile.clear();
    outputCreated = false;
}

} // namespace memoryio

using namespace memoryio;

void platformStart(int*, char***) {}

bool platformOpenForReading(const char*, FileHandle* file, IoError*)
{
    *file = INPUT_HANDLE;
    return true;
}

bool platformFileSize(FileHandle, int64_t* size, IoError*)
{
    *size = static_cast<int64_t>(inputSize);
    return true;
}

bool platformRead(FileHandle, uint8_t* buffer, int64_t count, int64_t* delivered, IoError*)
{
    size_t available = inputSize - inputPosition;
    size_t n = static_cast<size_t>(count) < available ? static_cast<size_t>(count) : available;
    if (n > 0)
        std::memcpy(buffer, inputBytes + inputPosition, n);
    inputPosition += n;
    *delivered = static_cast<int64_t>(n);
    return true;
}

bool platformClose(FileHandle, IoError*)
{
    return true;
}

bool platformCreate(const char*, FileHandle* file, IoError*)
{
    outputCreated = true;
    outputFile.clear();
    *file = OUTPUT_HANDLE;
    return true;
}

bool platformWrite(FileHandle, const uint8_t* bytes, int64_t count, int64_t* taken, IoError*)
{
    outputFile.insert(outputFile.end(), bytes, bytes + count);
    *taken = count;
    return true;
}

bool platformWriteConsole(const char* bytes, int32_t count, IoError*)
{
    console.append(bytes, static_cast<size_t>(count));
    return true;
}

bool platformSameFile(const char*, const char*)
{
    return false;
}

const char* platformProgramName()
{
    return "ombrix2grf";
}

void platformExit(int exitCode)
{
    throw ProcessEnd{exitCode};
}
