// grfview as a user meets it, and the round trip with the converter.
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

#include "bmp_builder.h"
#include "grf_examples.h"
#include "image_files.h"
#include "process_runner.h"

namespace fs = std::filesystem;
using testkit::readFile;
using testkit::writeFile;

namespace {

testkit::RunResult grfview(const testkit::ScratchDirectory& dir, std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), GRFVIEW_PATH);
    testkit::RunOptions options;
    options.workingDirectory = dir.path();
    testkit::RunResult result = testkit::run(arguments, options);
    EXPECT_EQ(result.signal, 0);
    return result;
}

testkit::RunResult convert(const testkit::ScratchDirectory& dir, const std::string& name)
{
    testkit::RunOptions options;
    options.workingDirectory = dir.path();
    return testkit::run({OMBRIX2GRF_PATH, name}, options);
}

images::SourceImage readBmp(const fs::path& path)
{
    std::string bytes = readFile(path);
    images::ReadSource read = images::decodeBmp(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    EXPECT_TRUE(read.ok) << path << ": " << read.error;
    return read.image;
}

TEST(GrfviewRun, WritesThePictureUnderTheDefaultOrGivenName)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string written;
        const char* signature;
    };
    const Case cases[] = {
        {{"pic.grf"}, "pic.png", "\x89PNG"},
        {{"pic.grf", "out.PNG"}, "out.PNG", "\x89PNG"},
        {{"pic.grf", "out.Bmp"}, "out.Bmp", "BM"},
        {{"--screen", "pic.grf", "screen.bmp"}, "screen.bmp", "BM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        testkit::ScratchDirectory dir;
        writeFile(dir / "pic.grf", grfexamples::workedExample());
        auto result = grfview(dir, c.arguments);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        EXPECT_EQ(result.errors, "");
        std::string written = readFile(dir / c.written);
        EXPECT_EQ(written.substr(0, std::strlen(c.signature)), c.signature);
    }
}

TEST(GrfviewRun, ScreenBmpIsTheWholeScreen)
{
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.grf", grfexamples::workedExample());
    ASSERT_EQ(grfview(dir, {"--screen", "pic.grf", "screen.bmp"}).exitCode, 0);
    images::SourceImage screen = readBmp(dir / "screen.bmp");
    ASSERT_EQ(screen.width, 640);
    ASSERT_EQ(screen.height, 400);
    EXPECT_EQ(screen.colours[screen.pixels[0]], grf::Rgb{});                       // black around it
    EXPECT_EQ(screen.colours[screen.pixels[196 * 640 + 312]], (grf::Rgb{0, 0, 170}));   // its top left cell
}

TEST(GrfviewRun, UsageErrorsExitWithTwoAndWriteNothing)
{
    const std::vector<std::string> cases[] = {
        {}, {"--bogus", "pic.grf"}, {"pic.grf", "out.jpg"}, {"pic.grf", "out"}, {"--compare"},
        {"a.grf", "b.png", "c.png"}, {"pic.grf", "pic.grf"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.empty() ? "(none)" : arguments.back());
        testkit::ScratchDirectory dir;
        writeFile(dir / "pic.grf", grfexamples::workedExample());
        auto result = grfview(dir, arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.errors.find("usage: grfview"), std::string::npos) << result.errors;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    }
}

TEST(GrfviewRun, HelpAndVersion)
{
    testkit::ScratchDirectory dir;
    auto help = grfview(dir, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--compare SOURCE.bmp"), std::string::npos);
    auto version = grfview(dir, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "grfview 0.1\n");
}

TEST(GrfviewRun, FilesThatCannotBeReadOrDecodedExitWithOne)
{
    for (const grfexamples::Broken& b : grfexamples::brokenFiles()) {
        SCOPED_TRACE(b.name);
        testkit::ScratchDirectory dir;
        writeFile(dir / "pic.grf", b.file);
        auto result = grfview(dir, {"pic.grf"});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.errors, std::string("grfview: pic.grf: ") + b.message + "\n");
        EXPECT_FALSE(fs::exists(dir / "pic.png"));
    }
    testkit::ScratchDirectory dir;
    auto missing = grfview(dir, {"missing.grf"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.errors, "grfview: missing.grf: cannot open the file\n");
}

TEST(GrfviewRun, InfoTellsWhatIsInTheFile)
{
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.grf", grfexamples::workedExample());
    auto result = grfview(dir, {"--info", "pic.grf"});
    std::string expected =
        "file size: 146 bytes\n"
        "placement: column 39, line 98\n"
        "size in cells: 2 x 3\n"
        "size in pixels: 16 x 6\n"
        "pixel section: 6 bytes\n"
        "attribute pairs: 4\n"
        "over 36864 bytes: no\n"
        "palette 0: #000000\n"
        "palette 1: #0000AA\n";
    for (int i = 2; i < 15; ++i)
        expected += "palette " + std::to_string(i) + ": #000000\n";
    expected += "palette 15: #FFFFFF\n";
    EXPECT_EQ(result.output, expected);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(fs::exists(dir / "pic.png"));   // --info alone writes no picture
}

TEST(GrfviewRun, CompareCountsTheCellsTheConversionChanged)
{
    // 24 x 4 pixels: cell (0, 1) holds three colours, the rest two or one.
    bmp::Picture source = bmp::blankPicture(24, 4);
    const uint8_t line0[24] = {1, 1, 2, 2, 1, 1, 2, 2, 3, 4, 5, 3, 4, 5, 3, 4, 6, 6, 6, 6, 6, 6, 6, 6};
    const uint8_t line1[24] = {7, 7, 7, 7, 7, 7, 7, 7, 9, 9, 9, 9, 10, 10, 10, 10, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int x = 0; x < 24; ++x) {
        source.at(x, 0) = line0[x];
        source.at(x, 2) = line1[x];
    }
    bmp::doubleLines(source);
    testkit::ScratchDirectory dir;
    writeFile(dir / "pic.bmp", bmp::encode(source));
    ASSERT_EQ(convert(dir, "pic.bmp").exitCode, 0);
    auto result = grfview(dir, {"--compare", "pic.bmp", "pic.grf", "view.png"});
    EXPECT_EQ(result.output, "cells differing: 1 of 6 (16.67%)\n");
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_TRUE(fs::exists(dir / "view.png"));
    EXPECT_EQ(readFile(dir / "view-diff.png").substr(1, 3), "PNG");

    writeFile(dir / "other.bmp", bmp::encode(bmp::blankPicture(32, 4)));
    auto mismatch = grfview(dir, {"--compare", "other.bmp", "pic.grf", "again.png"});
    EXPECT_EQ(mismatch.exitCode, 1);
    EXPECT_EQ(mismatch.errors, "grfview: other.bmp: the source is 32 x 4 pixels, the picture 24 x 4\n");
    EXPECT_FALSE(fs::exists(dir / "again.png"));
}

// A random picture: every cell of an even row holds at most two of the
// colours 0 to 15 (or any of them, when twoColours is false); odd rows
// repeat the row above.
bmp::Picture randomPicture(std::mt19937& random, bool twoColours, bool paletteOf85)
{
    std::uniform_int_distribution<int> columns(1, 12), lines(1, 30), colour(0, 15), bit(0, 1), component(0, 255), digit(0, 3);
    bmp::Picture picture = bmp::blankPicture(8 * columns(random), 2 * lines(random));
    for (auto& c : picture.colours)
        c = paletteOf85 ? bmp::Colour{static_cast<uint8_t>(85 * digit(random)), static_cast<uint8_t>(85 * digit(random)),
                                      static_cast<uint8_t>(85 * digit(random))}
                        : bmp::Colour{static_cast<uint8_t>(component(random)), static_cast<uint8_t>(component(random)),
                                      static_cast<uint8_t>(component(random))};
    for (int y = 0; y < picture.height; y += 2)
        for (int cell = 0; cell < picture.width / 8; ++cell) {
            uint8_t pair[2] = {static_cast<uint8_t>(colour(random)), static_cast<uint8_t>(colour(random))};
            for (int x = 0; x < 8; ++x)
                picture.at(8 * cell + x, y) = twoColours ? pair[bit(random)] : static_cast<uint8_t>(colour(random));
        }
    bmp::doubleLines(picture);
    return picture;
}

TEST(GrfviewRoundTrip, TwoColourPicturesComeBackUnchanged)
{
    std::mt19937 random(20261211);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        bmp::Picture source = randomPicture(random, true, true);
        testkit::ScratchDirectory dir;
        writeFile(dir / "pic.bmp", bmp::encode(source));
        ASSERT_EQ(convert(dir, "pic.bmp").exitCode, 0);
        ASSERT_EQ(grfview(dir, {"pic.grf", "view.bmp"}).exitCode, 0);
        images::SourceImage view = readBmp(dir / "view.bmp");
        ASSERT_EQ(view.width, source.width);
        ASSERT_EQ(view.height, source.height);
        EXPECT_EQ(view.pixels, source.pixels);
        for (size_t i = 0; i < 16; ++i)
            EXPECT_EQ(view.colours[i], (grf::Rgb{source.colours[i].red, source.colours[i].green, source.colours[i].blue})) << i;
    }
}

TEST(GrfviewRoundTrip, ThePreviewIsAFixedPointOfTheConversion)
{
    std::mt19937 random(1984);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        testkit::ScratchDirectory dir;
        writeFile(dir / "pic.bmp", bmp::encode(randomPicture(random, false, false)));
        ASSERT_EQ(convert(dir, "pic.bmp").exitCode, 0);
        ASSERT_EQ(grfview(dir, {"pic.grf", "first.bmp"}).exitCode, 0);
        ASSERT_EQ(convert(dir, "first.bmp").exitCode, 0);
        ASSERT_EQ(grfview(dir, {"first.grf", "second.bmp"}).exitCode, 0);
        EXPECT_EQ(readFile(dir / "first.grf"), readFile(dir / "pic.grf"));
        EXPECT_EQ(readFile(dir / "second.bmp"), readFile(dir / "first.bmp"));
    }
}

} // namespace
