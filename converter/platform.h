// The converter's only door to the operating system: command line start-up,
// files, the console, the program's own name and the process end. Everything
// else in the converter is plain computation over the shared tables, so this
// is the one module that differs between systems and the one that fault tests
// replace or intercept.
//
// Every operation that can fail returns false and describes the failure in an
// IoError; the caller decides what the run does with it.
#pragma once

#include <cstdint>

// Why an operation failed, in the categories the failure report tells apart.
enum class IoReason : uint8_t {
    FileNotFound,      // the named file does not exist, its directory does
    InvalidFilename,   // a directory on the way to the file does not exist
    TooManyOpenFiles,
    AccessDenied,      // permissions, a read-only file system, a directory
    Other,             // reported with the system's error number
};

struct IoError {
    IoReason reason;
    int number;        // the system's own error number: errno, or GetLastError() on Windows
};

#ifdef _WIN32
using FileHandle = void*;   // a Windows HANDLE
#else
using FileHandle = int;
#endif

// Called once before anything else, with main's arguments. Remembers the
// program's name and asks the system to report a write beyond the file-size
// limit as a short write instead of ending the process. Where the system
// hands over its command line in another encoding, the arguments are
// replaced by their UTF-8 form.
void platformStart(int* argumentCount, char*** arguments);

bool platformOpenForReading(const char* name, FileHandle* file, IoError* error);
bool platformFileSize(FileHandle file, int64_t* size, IoError* error);
// Reads up to count bytes; *delivered < count means the file ended first.
bool platformRead(FileHandle file, uint8_t* buffer, int64_t count, int64_t* delivered, IoError* error);
bool platformClose(FileHandle file, IoError* error);

// Creates the file, or empties an existing one.
bool platformCreate(const char* name, FileHandle* file, IoError* error);
// Writes count bytes; *taken < count means the medium stopped taking bytes
// after some had been written.
bool platformWrite(FileHandle file, const uint8_t* bytes, int64_t count, int64_t* taken, IoError* error);

// Writes bytes to standard output, unbuffered: they have left the process
// when this returns true.
bool platformWriteConsole(const char* bytes, int32_t count, IoError* error);

// True when both names lead to one existing file (same name, link or alias).
bool platformSameFile(const char* first, const char* second);

// The running program's file name without its directory.
const char* platformProgramName();

[[noreturn]] void platformExit(int exitCode);
