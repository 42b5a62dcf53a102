// The Windows side of the platform module: wide-character file names and
// command line converted to and from UTF-8, Win32 file handles, and console
// lines written to the standard output handle unchanged (no text-mode
// translation of the line ends).
#include "platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace {

constexpr int WIDE_NAME_CAPACITY = 32768;      // longest Win32 path, in UTF-16 units
constexpr int ARGUMENT_CAPACITY = 4 * 32768;   // the whole command line as UTF-8
constexpr int MAX_ARGUMENTS = 16384;

char argumentText[ARGUMENT_CAPACITY];
char* argumentList[MAX_ARGUMENTS + 1];
char programName[MAX_PATH * 4];
wchar_t wideName[WIDE_NAME_CAPACITY];
wchar_t secondWideName[WIDE_NAME_CAPACITY];

IoError describe(DWORD number)
{
    switch (number) {
    case ERROR_FILE_NOT_FOUND:
        return {IoReason::FileNotFound, static_cast<int>(number)};
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        return {IoReason::InvalidFilename, static_cast<int>(number)};
    case ERROR_TOO_MANY_OPEN_FILES:
        return {IoReason::TooManyOpenFiles, static_cast<int>(number)};
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return {IoReason::AccessDenied, static_cast<int>(number)};
    default:
        return {IoReason::Other, static_cast<int>(number)};
    }
}

bool fail(IoError* error)
{
    *error = describe(GetLastError());
    return false;
}

bool toWide(const char* name, wchar_t* wide)
{
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, wide, WIDE_NAME_CAPACITY) > 0;
}

// A name that is not valid UTF-8 or too long for Win32 cannot name a file.
bool wideOrFail(const char* name, IoError* error)
{
    if (toWide(name, wideName))
        return true;
    *error = {IoReason::InvalidFilename, static_cast<int>(ERROR_INVALID_NAME)};
    return false;
}

const char* afterLastSeparator(const char* path)
{
    const char* name = path;
    for (const char* at = path; *at; ++at)
        if (*at == '\\' || *at == '/' || *at == ':')
            name = at + 1;
    return name;
}

// The wide command line split by the system's own rules, re-encoded as UTF-8.
void collectArguments(int* argumentCount, char*** arguments)
{
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return;
    int used = 0;
    int kept = 0;
    for (int i = 0; i < count && kept < MAX_ARGUMENTS; ++i) {
        int room = ARGUMENT_CAPACITY - used;
        int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, argumentText + used, room, nullptr, nullptr);
        if (length <= 0)
            break;
        argumentList[kept++] = argumentText + used;
        used += length;
    }
    LocalFree(wide);
    argumentList[kept] = nullptr;
    *argumentCount = kept;
    *arguments = argumentList;
}

} // namespace

void platformStart(int* argumentCount, char*** arguments)
{
    collectArguments(argumentCount, arguments);
    // No message boxes from the system on a failing drive: the run reports it.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

bool platformOpenForReading(const char* name, FileHandle* file, IoError* error)
{
    if (!wideOrFail(name, error))
        return false;
    HANDLE handle = CreateFileW(wideName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return fail(error);
    *file = handle;
    return true;
}

bool platformFileSize(FileHandle file, int64_t* size, IoError* error)
{
    LARGE_INTEGER value;
    if (!GetFileSizeEx(file, &value))
        return fail(error);
    *size = value.QuadPart;
    return true;
}

bool platformRead(FileHandle file, uint8_t* buffer, int64_t count, int64_t* delivered, IoError* error)
{
    int64_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + done, static_cast<DWORD>(count - done), &got, nullptr))
            return fail(error);
        if (got == 0)
            break;
        done += got;
    }
    *delivered = done;
    return true;
}

bool platformClose(FileHandle file, IoError* error)
{
    if (!CloseHandle(file))
        return fail(error);
    return true;
}

bool platformCreate(const char* name, FileHandle* file, IoError* error)
{
    if (!wideOrFail(name, error))
        return false;
    HANDLE handle = CreateFileW(wideName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return fail(error);
    *file = handle;
    return true;
}

bool platformWrite(FileHandle file, const uint8_t* bytes, int64_t count, int64_t* taken, IoError* error)
{
    int64_t done = 0;
    while (done < count) {
        DWORD put = 0;
        if (!WriteFile(file, bytes + done, static_cast<DWORD>(count - done), &put, nullptr)) {
            if (done == 0)
                return fail(error);
            break;   // bytes went in, then the medium filled up
        }
        if (put == 0)
            break;
        done += put;
    }
    *taken = done;
    return true;
}

bool platformWriteConsole(const char* bytes, int32_t count, IoError* error)
{
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    int32_t done = 0;
    while (done < count) {
        DWORD put = 0;
        if (!WriteFile(console, bytes + done, static_cast<DWORD>(count - done), &put, nullptr))
            return fail(error);
        if (put == 0) {
            *error = {IoReason::Other, static_cast<int>(ERROR_WRITE_FAULT)};
            return false;
        }
        done += static_cast<int32_t>(put);
    }
    return true;
}

bool platformSameFile(const char* first, const char* second)
{
    if (!toWide(first, wideName) || !toWide(second, secondWideName))
        return false;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE a = CreateFileW(wideName, 0, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    HANDLE b = CreateFileW(secondWideName, 0, share, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION infoA;
    BY_HANDLE_FILE_INFORMATION infoB;
    bool same = a != INVALID_HANDLE_VALUE && b != INVALID_HANDLE_VALUE && GetFileInformationByHandle(a, &infoA)
                && GetFileInformationByHandle(b, &infoB) && infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber
                && infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
    if (a != INVALID_HANDLE_VALUE)
        CloseHandle(a);
    if (b != INVALID_HANDLE_VALUE)
        CloseHandle(b);
    return same;
}

const char* platformProgramName()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH
        || WideCharToMultiByte(CP_UTF8, 0, path, -1, programName, sizeof programName, nullptr, nullptr) <= 0)
        return "ombrix2grf.exe";
    return afterLastSeparator(programName);
}

void platformExit(int exitCode)
{
    ExitProcess(static_cast<UINT>(exitCode));
}
