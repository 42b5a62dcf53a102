// The converter as a user meets it: the built binary run in a scratch
// directory, its console lines compared byte for byte.
#include <climits>
#include <iostream>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "converter_cli.h"

namespace fs = std::filesystem;
using cli::line;
using cli::opening;
using cli::report;
using testkit::readFile;
using testkit::writeFile;

namespace {

// The 150-byte 16 x 2 picture converts into a GRF file of this length.
const std::string SMALL_TOTAL = "138";

std::vector<uint8_t> fullPicture()
{
    return bmp::encode(bmp::blankPicture(640, 400));
}

std::string acceptedSmall(const std::string& name)
{
    return opening(name) + line("1") + line("total bytes=" + SMALL_TOTAL);
}

TEST(ConverterRun, WithoutArgumentConvertsTheDefaultName)
{
    testkit::ScratchDirectory dir;
    writeFile(dir / "mcscreen.bmp", cli::smallPicture());
    auto result = cli::convert(dir, {});
    EXPECT_EQ(result.output, acceptedSmall("mcscreen.bmp"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(fs::exists(dir / "mcscreen.grf"));
}

TEST(ConverterRun, TakesTheFirstNonEmptyArgument)
{
    struct Case {
        std::vector<std::string> arguments;
    };
    for (const Case& c : {Case{{"a.bmp", "b.bmp"}}, Case{{"", "a.bmp"}}, Case{{"", "", "a.bmp", ""}}}) {
        testkit::ScratchDirectory dir;
        writeFile(dir / "a.bmp", cli::smallPicture());
        writeFile(dir / "b.bmp", cli::smallPicture());
        auto result = cli::convert(dir, c.arguments);
        EXPECT_EQ(result.output, acceptedSmall("a.bmp"));
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(fs::exists(dir / "a.grf"));
        EXPECT_FALSE(fs::exists(dir / "b.grf"));
    }
}

TEST(ConverterRun, SizeLimits)
{
    struct Case {
        size_t size;
        std::string verdict;   // empty: accepted
    };
    const Case cases[] = {
        {118, "file too small"}, {119, ""}, {1048576, ""}, {1048577, "file too big"}, {0, "file too small"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        testkit::ScratchDirectory dir;
        std::vector<uint8_t> file = cli::smallPicture();
        file.resize(c.size, 0);   // cut short or padded with zeros
        writeFile(dir / "pic.bmp", file);
        auto result = cli::convert(dir, {"pic.bmp"});
        if (c.verdict.empty()) {
            EXPECT_EQ(result.output, acceptedSmall("pic.bmp"));
            EXPECT_EQ(result.exitCode, 0);
            EXPECT_TRUE(fs::exists(dir / "pic.grf"));
        } else {
            EXPECT_EQ(result.output, line(c.verdict));
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_FALSE(fs::exists(dir / "pic.grf"));
        }
    }
}

TEST(ConverterRun, ReadOnlyInputIsConvertedAndLeftAlone)
{
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.bmp", cli::smallPicture());
    fs::permissions(dir / "pic.bmp", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    auto result = cli::convert(dir, {"pic.bmp"});
    EXPECT_EQ(result.output, acceptedSmall("pic.bmp"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(readFile(dir / "pic.bmp"), testkit::toString(cli::smallPicture()));
}

TEST(ConverterRun, ReplacesAnExistingOutputWhateverItsLength)
{
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.bmp", cli::smallPicture());
    writeFile(dir / "pic.grf", std::string(70000, 'x'));
    auto result = cli::convert(dir, {"pic.bmp"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(fs::file_size(dir / "pic.grf"), std::stoul(SMALL_TOTAL));
}

TEST(ConverterRun, OutputNameFollowsTheInputName)
{
    struct Case {
        std::string input;    // relative to the working directory work/
        std::string output;
    };
    const Case cases[] = {
        {"mcscreen.bmp", "mcscreen.grf"}, {"pic.BMP", "pic.grf"}, {"pic.x", "pic.grf"},
        {"pic.", "pic.grf"}, {"pic", "pic.grf"}, {"pic.jpeg", "pic.jpeg.grf"},
        {"a.b.c", "a.b.grf"}, {"shots/pic.bmp", "shots/pic.grf"}, {"dir.old/pic", "dir.old/pic.grf"},
        {"./a", ".grf"}, {"../a", "..grf"},
        {"pic.\xD0\xB6\xD0\xBF\xD0\xB3", "pic.grf"},           // three Cyrillic letters, six bytes
        {"pic.\xD0\xB6\xD0\xBF\xD0\xB3\xD0\xB3", "pic.\xD0\xB6\xD0\xBF\xD0\xB3\xD0\xB3.grf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        if (cli::windowsExe() && c.input.back() == '.') {
            std::cout << "not applicable on Windows: " << c.input << " (a name cannot end in a dot there)\n";
            continue;
        }
        testkit::ScratchDirectory dir;
        fs::path work = dir / "work";
        fs::create_directories(work / "shots");
        fs::create_directories(work / "dir.old");
        writeFile(work / c.input, cli::smallPicture());
        testkit::RunOptions options;
        options.workingDirectory = work;
        auto result = cli::convert(dir, {c.input}, options);
        EXPECT_EQ(result.output, acceptedSmall(c.input));
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(fs::is_regular_file(work / c.output));
    }
}

TEST(ConverterRun, RefusesAnOutputThatIsTheInput)
{
    enum class Alias { SameName, HardLink, SymbolicLink };
    for (Alias alias : {Alias::SameName, Alias::HardLink, Alias::SymbolicLink}) {
        SCOPED_TRACE(static_cast<int>(alias));
        testkit::ScratchDirectory dir;
        std::string input = alias == Alias::SameName ? "pic.grf" : "pic.bmp";
        writeFile(dir / input, cli::smallPicture());
        if (alias == Alias::HardLink)
            fs::create_hard_link(dir / "pic.bmp", dir / "pic.grf");
        if (alias == Alias::SymbolicLink)
            fs::create_symlink("pic.bmp", dir / "pic.grf");
        auto result = cli::convert(dir, {input});
        EXPECT_EQ(result.output, opening(input) + line("1") + line("output would overwrite input"));
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(readFile(dir / input), testkit::toString(cli::smallPicture()));
    }
}

TEST(ConverterRun, HeaderRejectionsComeInOrderWithTheLinesBefore)
{
    struct Case {
        const char* name;
        int32_t width, height;
        size_t byteOffset;
        uint8_t byteValue;   // written at byteOffset when byteOffset is not 0
        std::string tail;
    };
    const Case cases[] = {
        {"height before width", 700, 402, 0, 0, line("hgt>400")},
        {"too wide", 648, 400, 0, 0, line("wid>640")},
        {"width not a multiple of 8", 636, 400, 0, 0, line("(wid mod 8)<>0")},
        {"negative width not a multiple of 8", -4, 400, 0, 0, line("(wid mod 8)<>0")},
        {"odd height", 640, 399, 0, 0, line("(hgt mod 2)<>0")},
        {"4 bits per pixel", 640, 400, 28, 4, line("200") + line("not 8bit")},
        {"biClrUsed 0", 640, 400, 46, 0, line("200") + line("not 16 color")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testkit::ScratchDirectory dir;
        std::vector<uint8_t> file = fullPicture();
        bmp::putInt32(file, 18, c.width);
        bmp::putInt32(file, 22, c.height);
        if (c.byteOffset)
            file[c.byteOffset] = c.byteValue;
        writeFile(dir / "pic.bmp", file);
        auto result = cli::convert(dir, {"pic.bmp"});
        EXPECT_EQ(result.output, opening("pic.bmp") + c.tail);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_FALSE(fs::exists(dir / "pic.grf"));
    }
}

TEST(ConverterRun, AcceptsWhatTheHeaderTestsLetThrough)
{
    struct Case {
        const char* name;
        int32_t width, height;
        size_t offset;        // a 32-bit field to overwrite, 0 for none
        int32_t value;
        std::string countLine;
    };
    const Case cases[] = {
        {"top-down", 640, -400, 0, 0, "-200"},
        {"zero width", 0, 400, 0, 0, "200"},
        {"negative width", -8, 400, 0, 0, "200"},
        {"zero height", 640, 0, 0, 0, "0"},
        {"most negative height", 640, INT32_MIN, 0, 0, "-1073741824"},
        {"most negative width", INT32_MIN, 400, 0, 0, "200"},
        {"biBitCount 264", 640, 400, 28, 264, "200"},
        {"biClrUsed 272", 640, 400, 46, 272, "200"},
        {"no BM signature", 640, 400, 0, 0x00005A5A, "200"},
        {"biSize 124", 640, 400, 14, 124, "200"},
        {"bfOffBits negative", 640, 400, 10, -1000, "200"},
        {"bfOffBits huge", 640, 400, 10, INT32_MAX, "200"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testkit::ScratchDirectory dir;
        std::vector<uint8_t> file = fullPicture();
        bmp::putInt32(file, 18, c.width);
        bmp::putInt32(file, 22, c.height);
        if (c.offset)
            bmp::putInt32(file, c.offset, c.value);
        if (c.value == 0x00005A5A)
            file[0] = file[1] = 'Z';
        writeFile(dir / "pic.bmp", file);
        auto result = cli::convert(dir, {"pic.bmp"});
        ASSERT_EQ(result.output.substr(0, opening("pic.bmp").size() + c.countLine.size() + 2),
                  opening("pic.bmp") + line(c.countLine));
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(fs::exists(dir / "pic.grf"));
    }
}

// Failures of file operations found before the output is created.
TEST(ConverterRun, FailureReportForTheInput)
{
    struct Case {
        const char* name;
        std::string argument;
        std::string expected;
    };
    const Case cases[] = {
        {"missing file", "missing.bmp", report(2, "File not found")},
        {"missing directory", "nodir/pic.bmp", report(2, "Invalid filename")},
        {"a file used as a directory", "plain.bmp/pic.bmp", report(2, "Invalid filename")},
        {"a directory as input", "folder.bmp", report(2, "File access denied")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testkit::ScratchDirectory dir;
        writeFile(dir / "plain.bmp", cli::smallPicture());
        fs::create_directory(dir / "folder.bmp");
        auto before = std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
        auto result = cli::convert(dir, {c.argument});
        EXPECT_EQ(result.output, c.expected);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), before);
        EXPECT_EQ(readFile(dir / "plain.bmp"), testkit::toString(cli::smallPicture()));
    }
}

TEST(ConverterRun, DirectoryAsOutputNameIsRefusedAtTheCreate)
{
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.bmp", cli::smallPicture());
    fs::create_directory(dir / "pic.grf");
    auto result = cli::convert(dir, {"pic.bmp"});
    EXPECT_EQ(result.output, opening("pic.bmp") + line("1") + report(14, "File access denied"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(fs::is_directory(dir / "pic.grf"));
}

// Root ignores file modes, so the run drops to an unprivileged user there.
TEST(ConverterRun, ReadOnlyOutputFileIsRefusedAtTheCreate)
{
    NOT_APPLICABLE_ON_WINDOWS("POSIX file modes and user ids");
    testkit::ScratchDirectory dir;
    fs::permissions(dir.path(), fs::perms::all);
    fs::copy_file(OMBRIX2GRF_PATH, dir / "ombrix2grf");
    writeFile(dir / "pic.bmp", cli::smallPicture());
    writeFile(dir / "pic.grf", std::string("old"));
    fs::permissions(dir / "pic.bmp", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir / "pic.grf", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::vector<std::string> command = {(dir / "ombrix2grf").string(), "pic.bmp"};
    if (geteuid() == 0)
        command.insert(command.begin(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    testkit::RunOptions options;
    options.workingDirectory = dir.path();
    auto result = testkit::run(command, options);
    EXPECT_EQ(result.output, opening("pic.bmp") + line("1") + report(14, "File access denied")) << result.errors;
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(readFile(dir / "pic.grf"), "old");
}

TEST(ConverterRun, ConsoleThatCannotTakeALineEndsTheRun)
{
    NOT_APPLICABLE_ON_WINDOWS("there is no /dev/full");
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.bmp", cli::smallPicture());
    testkit::RunOptions options;
    options.stdoutPath = "/dev/full";
    auto result = cli::convert(dir, {"pic.bmp"}, options);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.signal, 0);
    EXPECT_FALSE(fs::exists(dir / "pic.grf"));
    EXPECT_EQ(readFile(dir / "pic.bmp"), testkit::toString(cli::smallPicture()));
}

TEST(ConverterRun, WritesTheWholeGrfFile)
{
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.bmp", cli::smallPicture());
    auto result = cli::convert(dir, {"pic.bmp"});
    EXPECT_EQ(result.output, opening("pic.bmp") + line("1") + line("total bytes=138"));
    EXPECT_EQ(result.exitCode, 0);
    std::string grf = readFile(dir / "pic.grf");
    ASSERT_EQ(grf.size(), 138u);
    // palette entry 1 is blue 170: green, red, blue digits 0, 0, 2
    EXPECT_EQ(grf.substr(3, 3), "002");
    EXPECT_EQ(grf.substr(128), std::string("\x27\x63\x02\x01\x92\x49\x01\x51\x01\x51", 10));
}

TEST(ConverterRun, SizeWarningAboveTheLimitOnly)
{
    struct Case {
        int32_t pairs;
        size_t fileSize;
        bool warned;
    };
    const Case cases[] = {{10366, 36864, false}, {10367, 36866, true}, {16000, 48132, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pairs);
        testkit::ScratchDirectory dir;
        writeFile(dir / "pic.bmp", cli::pictureWithPairs(c.pairs));
        auto result = cli::convert(dir, {"pic.bmp"});
        std::string expected = opening("pic.bmp") + line("200") + line("total bytes=" + std::to_string(c.fileSize));
        if (c.warned)
            expected += line("file too long!");
        EXPECT_EQ(result.output, expected);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(fs::file_size(dir / "pic.grf"), c.fileSize);
    }
}

TEST(ConverterRun, ShortWriteUnderAFileSizeLimitIsDiskFull)
{
    NOT_APPLICABLE_ON_WINDOWS("there is no per-process file-size limit");
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.bmp", cli::pictureWithPairs(16000));
    testkit::RunOptions options;
    options.fileSizeLimit = 1000;
    auto result = cli::convert(dir, {"pic.bmp"}, options);
    EXPECT_EQ(result.output, opening("pic.bmp") + line("200") + report(15, "Disk full"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(fs::file_size(dir / "pic.grf"), 1000u);   // partly written, left in place
}

TEST(SampleScreen, GeneratorReproducesTheShippedFile)
{
    testkit::ScratchDirectory dir;
    auto result = testkit::run({MAKE_SAMPLE_PATH, (dir / "sample.bmp").string()}, {});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(readFile(dir / "sample.bmp"), readFile(SAMPLE_PATH));
}

} // namespace
