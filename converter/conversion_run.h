// The run from command line to written file, and the I/O failure report that
// ends it after any failed file or console operation.
#pragma once

#include <cstdint>

#include "platform.h"

constexpr int32_t SMALLEST_INPUT = 119;          // header and colour table: offsets 0 to 118
constexpr int32_t SIZE_WARNING = 36864;          // larger GRF files draw "file too long!"
constexpr const char* DEFAULT_INPUT_NAME = "mcscreen.bmp";
constexpr int32_t NAME_CAPACITY = 4096;          // longest path the system opens, with its NUL

extern const char* inputName;
extern char outputName[NAME_CAPACITY + 4];

// The whole conversion; returns only after the output file has been written.
void runConversion(int argumentCount, char* const* arguments);

// The first argument that is not empty, or the default name.
const char* chooseInputName(int argumentCount, char* const* arguments);

// Derives outputName from inputName: an extension of at most three
// characters (UTF-8 characters, not bytes) is cut off, then ".grf" appended.
// False when the result would not fit in outputName.
bool deriveOutputName();

// Console lines end with carriage return and line feed and are checked as
// soon as they are written; a line that cannot be written ends the run
// through the failure report.
void writeConsoleLine(const char* text);
void writeConsoleNumberLine(int32_t value);

// Rejects the input: writes the message line, then ends the process with
// exit code 1.
[[noreturn]] void rejectInput(const char* message);

// Writes the two-line failure report and ends the process with exit code 1.
[[noreturn]] void reportIoFailure(IoError error);
