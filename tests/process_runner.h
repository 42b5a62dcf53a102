// Runs the built programs as a user would, in a scratch directory, and
// captures what they print.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testkit {

struct RunOptions {
    std::filesystem::path workingDirectory;
    std::vector<std::string> extraEnvironment;   // NAME=value
    std::string stdoutPath;                      // write stdout there instead of capturing it
    int64_t fileSizeLimit = -1;                  // RLIMIT_FSIZE in bytes, -1 to leave alone
};

struct RunResult {
    int exitCode = -1;   // -1 when the program did not exit normally
    int signal = 0;
    std::string output;  // standard output, byte for byte
    std::string errors;  // standard error
};

RunResult run(const std::vector<std::string>& arguments, const RunOptions& options);

// A directory under the system's temporary directory, removed with the object.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);
void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::string toString(const std::vector<uint8_t>& bytes);

} // namespace testkit
