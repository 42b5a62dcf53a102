// What the converter prints, and a way to run it on a fixture, shared by the
// tests that run the built binary.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "bmp_builder.h"
#include "process_runner.h"

namespace cli {

inline const std::string BANNER = "=========================== Ombrix to GRF v0.1 ============================\r\n";
inline const std::string USAGE = "convert TurboATM Multicolor, PrintScreen, crop, save as 8bit and give it me\r\n";

// The converter under test: the native build, or, when OMBRIX2GRF_EXE names a
// Windows build, that .exe run through Wine (WINE, default
// /usr/lib/wine/wine64). Cases that cannot exist on Windows skip themselves
// with NOT_APPLICABLE_ON_WINDOWS.
inline const char* windowsExe() { return std::getenv("OMBRIX2GRF_EXE"); }

inline std::vector<std::string> converterCommand()
{
    if (!windowsExe())
        return {OMBRIX2GRF_PATH};
    const char* wine = std::getenv("WINE");
    return {wine ? wine : "/usr/lib/wine/wine64", windowsExe()};
}

// The program's own file name, as the failure report shows it.
inline std::string moduleName()
{
    if (!windowsExe())
        return "ombrix2grf";
    std::string exe = windowsExe();
    return exe.substr(exe.find_last_of('/') + 1);
}

#define NOT_APPLICABLE_ON_WINDOWS(why)                                        \
    do {                                                                      \
        if (cli::windowsExe())                                                \
            GTEST_SKIP() << "not applicable on Windows: " << (why);           \
    } while (0)

inline std::string line(const std::string& text) { return text + "\r\n"; }

// Banner, usage line and input name: the start of every run that passes the
// size limits.
inline std::string opening(const std::string& inputName) { return BANNER + USAGE + line("input file=" + inputName); }

// The failure report; place is the step of the run at which it was found.
inline std::string report(unsigned place, const std::string& message)
{
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08X", place);
    return "Exception EInOutError in module " + moduleName() + " at " + std::string(hex) + ".\n" + message + ".\r\n";
}

// The small accepted picture: 16 x 2 pixels, 150 bytes.
inline std::vector<uint8_t> smallPicture()
{
    bmp::Picture picture = bmp::blankPicture(16, 2);
    for (int x = 0; x < 16; ++x)
        picture.at(x, 0) = static_cast<uint8_t>(x % 3 == 0 ? 9 : 2);
    bmp::doubleLines(picture);
    return bmp::encode(picture);
}

inline std::vector<uint8_t> pictureWithPairs(int32_t pairs)
{
    return bmp::encode(bmp::pictureWithPairs(pairs));
}

inline testkit::RunResult convert(const testkit::ScratchDirectory& dir, std::vector<std::string> arguments,
                                  testkit::RunOptions options = {})
{
    std::vector<std::string> command = converterCommand();
    arguments.insert(arguments.begin(), command.begin(), command.end());
    if (options.workingDirectory.empty())
        options.workingDirectory = dir.path();
    testkit::RunResult result = testkit::run(arguments, options);
    // The converter never writes to standard error: anything there is a
    // crash or a sanitizer report.
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.signal, 0);
    return result;
}

} // namespace cli
