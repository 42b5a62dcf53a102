// Preloaded into the converter (LD_PRELOAD) to make exactly one libc call
// fail: the N-th call of one kind, chosen by the environment.
//
//   FAULT_CALL   open | fstat | read | close | write
//   FAULT_NTH    1-based number of the call of that kind to fail
//   FAULT_ERRNO  the errno it fails with, or
//   FAULT_SHORT  1: a read delivers half, a write takes half, and the file
//                then behaves as ended (read 0) or full (EFBIG)
//
// Only the program's own files and standard output are counted: opens of
// /proc, /sys and /dev and calls on descriptors that no counted open
// returned (a sanitizer runtime's own files) pass through untouched.
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Kind { OPEN, FSTAT, READ, CLOSE, WRITE, KINDS };
const char* const KIND_NAMES[KINDS] = {"open", "fstat", "read", "close", "write"};

constexpr int MAX_FD = 1024;
bool tracked[MAX_FD];
bool exhausted[MAX_FD];   // after a short transfer
int calls[KINDS];

struct Plan {
    bool loaded = false;
    int kind = -1;
    int nth = 0;
    int error = 0;
    bool shortTransfer = false;
} plan;

void loadPlan()
{
    if (plan.loaded)
        return;
    plan.loaded = true;
    const char* kind = getenv("FAULT_CALL");
    for (int k = 0; kind && k < KINDS; ++k)
        if (strcmp(kind, KIND_NAMES[k]) == 0)
            plan.kind = k;
    const char* nth = getenv("FAULT_NTH");
    const char* error = getenv("FAULT_ERRNO");
    const char* shortTransfer = getenv("FAULT_SHORT");
    plan.nth = nth ? atoi(nth) : 0;
    plan.error = error ? atoi(error) : 0;
    plan.shortTransfer = shortTransfer && strcmp(shortTransfer, "1") == 0;
}

// Counts the call and tells whether it is the one to fail.
bool strikes(Kind kind)
{
    loadPlan();
    return ++calls[kind] == plan.nth && plan.kind == kind;
}

bool counted(int fd)
{
    return fd >= 0 && fd < MAX_FD && tracked[fd];
}

bool countedPath(const char* path)
{
    return strncmp(path, "/proc/", 6) != 0 && strncmp(path, "/sys/", 5) != 0 && strncmp(path, "/dev/", 5) != 0;
}

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

int openCommon(const char* symbol, const char* path, int flags, mode_t mode)
{
    using OpenFn = int (*)(const char*, int, ...);
    static OpenFn realOpen = next<OpenFn>(symbol);
    if (countedPath(path) && strikes(OPEN) && !plan.shortTransfer) {
        errno = plan.error;
        return -1;
    }
    int fd = realOpen(path, flags, mode);
    if (fd >= 0 && fd < MAX_FD && countedPath(path)) {
        tracked[fd] = true;
        exhausted[fd] = false;
    }
    return fd;
}

mode_t modeArgument(int flags, va_list arguments)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openCommon("open", path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openCommon("open64", path, flags, mode);
}

int fstat(int fd, struct stat* info)
{
    using FstatFn = int (*)(int, struct stat*);
    static FstatFn realFstat = next<FstatFn>("fstat");
    if (counted(fd) && strikes(FSTAT)) {
        errno = plan.error;
        return -1;
    }
    return realFstat(fd, info);
}

ssize_t read(int fd, void* buffer, size_t count)
{
    using ReadFn = ssize_t (*)(int, void*, size_t);
    static ReadFn realRead = next<ReadFn>("read");
    if (!counted(fd))
        return realRead(fd, buffer, count);
    if (exhausted[fd])
        return 0;
    if (strikes(READ)) {
        if (!plan.shortTransfer) {
            errno = plan.error;
            return -1;
        }
        exhausted[fd] = true;
        return realRead(fd, buffer, count / 2);
    }
    return realRead(fd, buffer, count);
}

ssize_t write(int fd, const void* bytes, size_t count)
{
    using WriteFn = ssize_t (*)(int, const void*, size_t);
    static WriteFn realWrite = next<WriteFn>("write");
    if (fd != STDOUT_FILENO && !counted(fd))
        return realWrite(fd, bytes, count);
    if (fd >= 0 && fd < MAX_FD && exhausted[fd]) {
        errno = EFBIG;
        return -1;
    }
    if (strikes(WRITE)) {
        if (!plan.shortTransfer) {
            errno = plan.error;
            return -1;
        }
        exhausted[fd] = true;
        return realWrite(fd, bytes, count / 2);
    }
    return realWrite(fd, bytes, count);
}

int close(int fd)
{
    using CloseFn = int (*)(int);
    static CloseFn realClose = next<CloseFn>("close");
    if (!counted(fd))
        return realClose(fd);
    tracked[fd] = false;
    int result = realClose(fd);
    if (strikes(CLOSE)) {
        errno = plan.error;
        return -1;
    }
    return result;
}

} // extern "C"
