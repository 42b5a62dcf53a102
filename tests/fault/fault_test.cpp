// Every checked operation of a run made to fail, one at a time: the
// converter's own objects, linked with the libc calls of its platform module
// wrapped, fail the N-th call of one kind.
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

#include "converter_cli.h"

namespace fs = std::filesystem;
using cli::line;
using cli::opening;
using cli::report;

namespace {

enum class Before {
    Nothing,         // the failure comes before any line
    Banner,
    Usage,
    Opening,         // banner, usage line, input name
    LineCount,
    Total,
};

struct Case {
    const char* operation;
    const char* call;
    int nth;
    int error;              // 0 with a short transfer
    Before linesBefore;
    unsigned place;         // the step shown in the report
    const char* message;
};

// The run makes these calls in order: open input (1), fstat directory check
// (1), fstat size (2), write banner (1), usage (2), input name (3), read (1),
// close input (1), write line count (4), open output (2), write output (5),
// close output (2), write total (6), write warning (7).
const Case CASES[] = {
    {"input open", "open", 1, ENOENT, Before::Nothing, 2, "File not found"},
    {"input open", "open", 1, EACCES, Before::Nothing, 2, "File access denied"},
    {"input open", "open", 1, EMFILE, Before::Nothing, 2, "Too many open files"},
    {"input open", "open", 1, EIO, Before::Nothing, 2, "I/O error 5"},
    {"input open, directory check", "fstat", 1, EIO, Before::Nothing, 2, "I/O error 5"},
    {"input size", "fstat", 2, EIO, Before::Nothing, 3, "I/O error 5"},
    {"input size", "fstat", 2, EACCES, Before::Nothing, 3, "File access denied"},
    {"banner", "write", 1, EIO, Before::Nothing, 5, "I/O error 5"},
    {"usage line", "write", 2, ENOSPC, Before::Banner, 6, "I/O error 28"},
    {"input name line", "write", 3, EACCES, Before::Usage, 7, "File access denied"},
    {"input read", "read", 1, EIO, Before::Opening, 8, "I/O error 5"},
    {"input read", "read", 1, EMFILE, Before::Opening, 8, "Too many open files"},
    {"input read", "read", 1, 0, Before::Opening, 8, "Read beyond end of file"},
    {"input close", "close", 1, EIO, Before::Opening, 9, "I/O error 5"},
    {"line count line", "write", 4, EIO, Before::Opening, 10, "I/O error 5"},
    {"output create", "open", 2, EACCES, Before::LineCount, 14, "File access denied"},
    {"output create", "open", 2, ENOENT, Before::LineCount, 14, "File not found"},
    {"output create", "open", 2, EMFILE, Before::LineCount, 14, "Too many open files"},
    {"output create", "open", 2, EIO, Before::LineCount, 14, "I/O error 5"},
    {"output write", "write", 5, EIO, Before::LineCount, 15, "I/O error 5"},
    {"output write", "write", 5, EACCES, Before::LineCount, 15, "File access denied"},
    {"output write", "write", 5, 0, Before::LineCount, 15, "Disk full"},
    {"output close", "close", 2, EIO, Before::LineCount, 16, "I/O error 5"},
    {"total line", "write", 6, EIO, Before::LineCount, 17, "I/O error 5"},
    {"warning line", "write", 7, EIO, Before::Total, 18, "I/O error 5"},
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.operation << ": " << c.call << " #" << c.nth << " -> " << c.message;
}

std::string linesBefore(Before before)
{
    switch (before) {
    case Before::Nothing: return "";
    case Before::Banner: return cli::BANNER;
    case Before::Usage: return cli::BANNER + cli::USAGE;
    case Before::Opening: return opening("pic.bmp");
    case Before::LineCount: return opening("pic.bmp") + line("200");
    case Before::Total: return opening("pic.bmp") + line("200") + line("total bytes=48132");
    }
    return "";
}

testkit::RunResult convertWithFaults(const testkit::ScratchDirectory& dir, testkit::RunOptions options)
{
    options.workingDirectory = dir.path();
    testkit::RunResult result = testkit::run({FAULT_BINARY_PATH, "pic.bmp"}, options);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.signal, 0);
    return result;
}

class FaultInjection : public testing::TestWithParam<Case> {};

TEST_P(FaultInjection, FailsWithTheReportAndLeavesTheInputAlone)
{
    const Case& c = GetParam();
    testkit::ScratchDirectory dir;
    const std::vector<uint8_t> input = cli::pictureWithPairs(16000);   // 48,132 bytes: every line runs
    testkit::writeFile(dir / "pic.bmp", input);

    testkit::RunOptions options;
    options.extraEnvironment = {
        std::string("FAULT_CALL=") + c.call,
        "FAULT_NTH=" + std::to_string(c.nth),
        c.error ? "FAULT_ERRNO=" + std::to_string(c.error) : std::string("FAULT_SHORT=1"),
    };
    auto result = convertWithFaults(dir, options);

    EXPECT_EQ(result.output, linesBefore(c.linesBefore) + report(c.place, c.message));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(testkit::readFile(dir / "pic.bmp"), testkit::toString(input));
    // The output is created at step 14 and written whole at step 15; a
    // failure after the create leaves what was written in place.
    EXPECT_EQ(fs::exists(dir / "pic.grf"), c.place > 14);
    if (c.place >= 16) {
        EXPECT_EQ(fs::file_size(dir / "pic.grf"), 48132u);
    }
}

std::string caseName(const testing::TestParamInfo<Case>& info)
{
    std::string name = std::string(info.param.call) + std::to_string(info.param.nth) + "_" + info.param.message;
    for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryCheckedOperation, FaultInjection, testing::ValuesIn(CASES), caseName);

// Without a planned failure the wrapped build behaves as the shipped one.
TEST(FaultInjectionBuild, PassesCallsThroughWhenNothingIsPlanned)
{
    testkit::ScratchDirectory dir;
    testkit::writeFile(dir / "pic.bmp", cli::pictureWithPairs(16000));
    auto result = convertWithFaults(dir, {});
    EXPECT_EQ(result.output, linesBefore(Before::Total) + line("file too long!"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(fs::file_size(dir / "pic.grf"), 48132u);
}

} // namespace
