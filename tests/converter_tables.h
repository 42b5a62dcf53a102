// Loading a file into the converter's tables and running one step on them,
// with the step's console lines kept off the test's own output.
#pragma once

#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include "buffers.h"

namespace tables {

class QuietConsole {
public:
    QuietConsole() : saved_(dup(STDOUT_FILENO))
    {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        close(null);
    }
    ~QuietConsole()
    {
        dup2(saved_, STDOUT_FILENO);
        close(saved_);
    }
    QuietConsole(const QuietConsole&) = delete;
    QuietConsole& operator=(const QuietConsole&) = delete;

private:
    int saved_;
};

inline void load(const std::vector<uint8_t>& file)
{
    clearTables();
    std::memcpy(InputBuffer, file.data(), file.size() < sizeof InputBuffer ? file.size() : sizeof InputBuffer);
}

} // namespace tables
