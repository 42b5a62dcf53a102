#include "platform.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int DIRECTORY_PART_CAPACITY = 4096;

const char* invokedAs = "ombrix2grf";
char programName[256];

const char* afterLastSlash(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

// ENOENT means either the file or a directory on its way is missing; the
// report tells the two apart, so look at the directory part on its own.
bool directoryPartExists(const char* name)
{
    const char* slash = std::strrchr(name, '/');
    if (!slash)
        return true;   // the current directory
    size_t length = static_cast<size_t>(slash - name);
    if (length == 0)
        return true;   // the root
    if (length >= DIRECTORY_PART_CAPACITY)
        return false;
    char directory[DIRECTORY_PART_CAPACITY];
    std::memcpy(directory, name, length);
    directory[length] = '\0';
    struct stat info;
    return stat(directory, &info) == 0 && S_ISDIR(info.st_mode);
}

IoError describe(int number, const char* name)
{
    switch (number) {
    case ENOENT:
        return {name && !directoryPartExists(name) ? IoReason::InvalidFilename : IoReason::FileNotFound, number};
    case ENOTDIR:
        return {IoReason::InvalidFilename, number};
    case EMFILE:
    case ENFILE:
        return {IoReason::TooManyOpenFiles, number};
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return {IoReason::AccessDenied, number};
    default:
        return {IoReason::Other, number};
    }
}

bool fail(IoError* error, int number, const char* name = nullptr)
{
    *error = describe(number, name);
    return false;
}

} // namespace

void platformStart(int* argumentCount, char*** arguments)
{
    if (*argumentCount > 0 && (*arguments)[0] && (*arguments)[0][0])
        invokedAs = (*arguments)[0];
    std::signal(SIGXFSZ, SIG_IGN);
}

bool platformOpenForReading(const char* name, FileHandle* file, IoError* error)
{
    int fd;
    do
        fd = open(name, O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(error, errno, name);
    // A directory opens for reading on POSIX; it is refused here as it is on
    // other systems, before anything is printed.
    struct stat info;
    int refusal = fstat(fd, &info) != 0 ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (refusal != 0) {
        close(fd);
        return fail(error, refusal);
    }
    *file = fd;
    return true;
}

bool platformFileSize(FileHandle file, int64_t* size, IoError* error)
{
    struct stat info;
    if (fstat(file, &info) != 0)
        return fail(error, errno);
    *size = static_cast<int64_t>(info.st_size);
    return true;
}

bool platformRead(FileHandle file, uint8_t* buffer, int64_t count, int64_t* delivered, IoError* error)
{
    int64_t done = 0;
    while (done < count) {
        ssize_t got = read(file, buffer + done, static_cast<size_t>(count - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(error, errno);
        if (got == 0)
            break;
        done += got;
    }
    *delivered = done;
    return true;
}

bool platformClose(FileHandle file, IoError* error)
{
    // A close interrupted on Linux has still released the descriptor, so it
    // is not repeated.
    if (close(file) != 0 && errno != EINTR)
        return fail(error, errno);
    return true;
}

bool platformCreate(const char* name, FileHandle* file, IoError* error)
{
    int fd;
    do
        fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail(error, errno, name);
    *file = fd;
    return true;
}

bool platformWrite(FileHandle file, const uint8_t* bytes, int64_t count, int64_t* taken, IoError* error)
{
    int64_t done = 0;
    while (done < count) {
        ssize_t put = write(file, bytes + done, static_cast<size_t>(count - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            // Nothing taken at all is the system's own failure; once bytes
            // have gone in, the medium has filled up (disk or file-size limit).
            if (done == 0 && put < 0)
                return fail(error, errno);
            break;
        }
        done += put;
    }
    *taken = done;
    return true;
}

bool platformWriteConsole(const char* bytes, int32_t count, IoError* error)
{
    int32_t done = 0;
    while (done < count) {
        ssize_t put = write(STDOUT_FILENO, bytes + done, static_cast<size_t>(count - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return fail(error, errno);
        if (put == 0)
            return fail(error, EIO);
        done += static_cast<int32_t>(put);
    }
    return true;
}

bool platformSameFile(const char* first, const char* second)
{
    struct stat a;
    struct stat b;
    if (stat(first, &a) != 0 || stat(second, &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

const char* platformProgramName()
{
    // The executable's real file name, as the system knows it; the name it
    // was started by is the fallback.
    ssize_t length = readlink("/proc/self/exe", programName, sizeof programName - 1);
    if (length > 0) {
        programName[length] = '\0';
        return afterLastSlash(programName);
    }
    return afterLastSlash(invokedAs);
}

void platformExit(int exitCode)
{
    _exit(exitCode);
}
