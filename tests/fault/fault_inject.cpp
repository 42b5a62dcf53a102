// Linked into a fault-injection build of the converter: the same objects as
// the shipped binary, with the platform module's libc calls routed here by
// the linker (-Wl,--wrap=open,...). It makes exactly one call fail: the N-th
// call of one kind, chosen by the environment.
//
//   FAULT_CALL   open | fstat | read | close | write
//   FAULT_NTH    1-based number of the call of that kind to fail
//   FAULT_ERRNO  the errno it fails with, or
//   FAULT_SHORT  1: a read delivers half, a write takes half, and the file
//                then behaves as ended (read 0) or full (EFBIG)
//
// Without FAULT_CALL every call passes through unchanged.
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_fstat(int fd, struct stat* info);
ssize_t __real_read(int fd, void* buffer, size_t count);
ssize_t __real_write(int fd, const void* bytes, size_t count);
int __real_close(int fd);
}

namespace {

enum Kind { OPEN, FSTAT, READ, CLOSE, WRITE, KINDS };
const char* const KIND_NAMES[KINDS] = {"open", "fstat", "read", "close", "write"};

constexpr int MAX_FD = 1024;
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

bool isExhausted(int fd)
{
    return fd >= 0 && fd < MAX_FD && exhausted[fd];
}

void exhaust(int fd)
{
    if (fd >= 0 && fd < MAX_FD)
        exhausted[fd] = true;
}

} // namespace

extern "C" {

int __wrap_open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    if (strikes(OPEN)) {
        errno = plan.error;
        return -1;
    }
    int fd = __real_open(path, flags, mode);
    if (fd >= 0 && fd < MAX_FD)
        exhausted[fd] = false;
    return fd;
}

int __wrap_fstat(int fd, struct stat* info)
{
    if (strikes(FSTAT)) {
        errno = plan.error;
        return -1;
    }
    return __real_fstat(fd, info);
}

ssize_t __wrap_read(int fd, void* buffer, size_t count)
{
    if (isExhausted(fd))
        return 0;
    if (strikes(READ)) {
        if (!plan.shortTransfer) {
            errno = plan.error;
            return -1;
        }
        exhaust(fd);
        return __real_read(fd, buffer, count / 2);
    }
    return __real_read(fd, buffer, count);
}

ssize_t __wrap_write(int fd, const void* bytes, size_t count)
{
    if (isExhausted(fd)) {
        errno = EFBIG;
        return -1;
    }
    if (strikes(WRITE)) {
        if (!plan.shortTransfer) {
            errno = plan.error;
            return -1;
        }
        exhaust(fd);
        return __real_write(fd, bytes, count / 2);
    }
    return __real_write(fd, bytes, count);
}

int __wrap_close(int fd)
{
    int result = __real_close(fd);
    if (strikes(CLOSE)) {
        errno = plan.error;
        return -1;
    }
    return result;
}

} // extern "C"
