#include "grfview_cli.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <optional>

#include "grf_decoder.h"
#include "image_files.h"

namespace grfview {

namespace {

const char* const VERSION = "grfview 0.1";
const char* const USAGE =
    "usage: grfview [--screen] [--info] [--compare SOURCE.bmp] INPUT.grf [OUTPUT.png|OUTPUT.bmp]\n";
const char* const HELP =
    "Shows a TurboATM GRF picture file as a PNG or BMP picture.\n"
    "\n"
    "  INPUT.grf             the GRF file to show\n"
    "  OUTPUT.png|.bmp       the picture to write (default: INPUT with the extension .png);\n"
    "                        .bmp writes the 8-bit, 16-colour BMP that ombrix2grf converts\n"
    "  --screen              the whole 640 x 400 screen, the picture at its placement, black around it\n"
    "  --info                print what the file holds; no picture is written unless OUTPUT is named\n"
    "  --compare SOURCE.bmp  count the cells whose pixels differ from the source screen grab and\n"
    "                        write OUTPUT-diff.png with those cells outlined\n"
    "  --help, --version\n"
    "\n"
    "Exit codes: 0 success, 1 a file that cannot be read, decoded or written, 2 a usage error.\n";

// Drawn four times larger, so that the outline leaves the cell visible; the
// colour has a component (128) that no GRF palette colour can have.
constexpr int DIFF_SCALE = 4;
const grf::Rgb OUTLINE{255, 128, 0};

enum class Format { Png, Bmp };

struct Options {
    bool screen = false;
    bool info = false;
    std::string compare;
    std::string input;
    std::string output;
    bool outputNamed = false;
    Format format = Format::Png;
};

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

size_t extensionStart(const std::string& name)
{
    size_t slash = name.find_last_of('/');
    size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == (slash == std::string::npos ? 0 : slash + 1))
        return name.size();
    return dot;
}

std::optional<Format> formatOf(const std::string& name)
{
    std::string extension = lowerCase(name.substr(extensionStart(name)));
    if (extension == ".png")
        return Format::Png;
    if (extension == ".bmp")
        return Format::Bmp;
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> readWholeFile(const std::string& name, std::string& error)
{
    std::ifstream file(name, std::ios::binary);
    if (!file) {
        error = "cannot open the file";
        return std::nullopt;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = "cannot read the file";
        return std::nullopt;
    }
    return bytes;
}

// The file appears whole or not at all: a failed write removes what it left.
bool writeWholeFile(const std::string& name, const std::vector<uint8_t>& bytes)
{
    {
        std::ofstream file(name, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (file)
            return true;
    }
    std::remove(name.c_str());
    return false;
}

int usageError(std::ostream& err, const std::string& message)
{
    err << "grfview: " << message << "\n" << USAGE;
    return EXIT_USAGE;
}

int fileError(std::ostream& err, const std::string& name, const std::string& message)
{
    err << "grfview: " << name << ": " << message << "\n";
    return EXIT_BAD_FILE;
}

std::string hexColour(const grf::Rgb& c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
}

void printInfo(std::ostream& out, const grf::Picture& p)
{
    out << "file size: " << p.fileSize << " bytes\n"
        << "placement: column " << p.columnOffset << ", line " << p.lineOffset << "\n"
        << "size in cells: " << p.columns << " x " << p.lines << "\n"
        << "size in pixels: " << 8 * p.columns << " x " << 2 * p.lines << "\n"
        << "pixel section: " << p.pixelBytes.size() << " bytes\n"
        << "attribute pairs: " << p.attributePairs << "\n"
        << "over " << grf::SIZE_WARNING << " bytes: " << (p.fileSize > grf::SIZE_WARNING ? "yes" : "no") << "\n";
    for (size_t i = 0; i < p.palette.size(); ++i)
        out << "palette " << i << ": " << hexColour(p.palette[i]) << "\n";
}

// The colour the TurboATM shows for a source colour: each component cut to
// its palette digit.
grf::Rgb shownColour(const grf::Rgb& c)
{
    return grf::colourOfDigits(static_cast<uint8_t>(c.green / 64), static_cast<uint8_t>(c.red / 64), static_cast<uint8_t>(c.blue / 64));
}

struct Comparison {
    std::vector<bool> differs;   // per cell, [line * columns + column]
    size_t count = 0;
};

Comparison compareCells(const grf::Picture& picture, const grf::IndexedImage& shown, const images::SourceImage& source)
{
    Comparison result;
    result.differs.assign(static_cast<size_t>(picture.columns) * static_cast<size_t>(picture.lines), false);
    for (int line = 0; line < picture.lines; ++line)
        for (int column = 0; column < picture.columns; ++column) {
            bool differs = false;
            for (int bit = 0; bit < 8; ++bit) {
                int x = 8 * column + bit;
                uint8_t index = source.pixels[static_cast<size_t>(2 * line) * static_cast<size_t>(source.width) + static_cast<size_t>(x)];
                differs = differs || index >= source.colours.size()
                          || !(shownColour(source.colours[index]) == shown.colours[shown.at(x, 2 * line)]);
            }
            result.differs[static_cast<size_t>(line) * static_cast<size_t>(picture.columns) + static_cast<size_t>(column)] = differs;
            result.count += differs ? 1 : 0;
        }
    return result;
}

std::vector<uint8_t> diffPicture(const grf::Picture& picture, const grf::IndexedImage& shown, const Comparison& comparison)
{
    int width = shown.width * DIFF_SCALE;
    int height = shown.height * DIFF_SCALE;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    auto put = [&](int x, int y, const grf::Rgb& c) {
        size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        rgb[at] = c.red;
        rgb[at + 1] = c.green;
        rgb[at + 2] = c.blue;
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            put(x, y, shown.colours[shown.at(x / DIFF_SCALE, y / DIFF_SCALE)]);
    const int cellWidth = 8 * DIFF_SCALE;
    const int cellHeight = 2 * DIFF_SCALE;
    for (int line = 0; line < picture.lines; ++line)
        for (int column = 0; column < picture.columns; ++column) {
            if (!comparison.differs[static_cast<size_t>(line) * static_cast<size_t>(picture.columns) + static_cast<size_t>(column)])
                continue;
            int left = column * cellWidth;
            int top = line * cellHeight;
            for (int x = 0; x < cellWidth; ++x) {
                put(left + x, top, OUTLINE);
                put(left + x, top + cellHeight - 1, OUTLINE);
            }
            for (int y = 0; y < cellHeight; ++y) {
                put(left, top + y, OUTLINE);
                put(left + cellWidth - 1, top + y, OUTLINE);
            }
        }
    return images::encodePng(width, height, rgb);
}

// Parses the command line; returns an exit code when the run ends here.
std::optional<int> parse(const std::vector<std::string>& arguments, Options& options, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> names;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            names.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            out << USAGE << "\n" << HELP;
            return EXIT_OK;
        } else if (a == "--version") {
            out << VERSION << "\n";
            return EXIT_OK;
        } else if (a == "--screen") {
            options.screen = true;
        } else if (a == "--info") {
            options.info = true;
        } else if (a == "--compare") {
            if (i + 1 >= arguments.size())
                return usageError(err, "--compare needs a SOURCE.bmp");
            options.compare = arguments[++i];
        } else {
            return usageError(err, "unknown option " + a);
        }
    }
    if (names.empty())
        return usageError(err, "no INPUT.grf given");
    if (names.size() > 2)
        return usageError(err, "too many file names");
    options.input = names[0];
    options.outputNamed = names.size() == 2;
    options.output = options.outputNamed ? names[1] : defaultOutputName(options.input);
    std::optional<Format> format = formatOf(options.output);
    if (!format)
        return usageError(err, "the output name " + options.output + " must end in .png or .bmp");
    options.format = *format;
    if (options.output == options.input)
        return usageError(err, "the output name is the input name");
    return std::nullopt;
}

} // namespace

std::string defaultOutputName(const std::string& input)
{
    return input.substr(0, extensionStart(input)) + ".png";
}

std::string diffOutputName(const std::string& output)
{
    return output.substr(0, extensionStart(output)) + "-diff.png";
}

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    Options options;
    if (std::optional<int> ended = parse(arguments, options, out, err))
        return *ended;

    std::string error;
    std::optional<std::vector<uint8_t>> file = readWholeFile(options.input, error);
    if (!file)
        return fileError(err, options.input, error);
    grf::Decoded decoded = grf::decode(*file);
    if (!decoded.ok)
        return fileError(err, options.input, decoded.error);
    const grf::Picture& picture = decoded.picture;

    std::optional<images::SourceImage> source;
    if (!options.compare.empty()) {
        std::optional<std::vector<uint8_t>> bytes = readWholeFile(options.compare, error);
        if (!bytes)
            return fileError(err, options.compare, error);
        images::ReadSource read = images::decodeBmp(*bytes);
        if (!read.ok)
            return fileError(err, options.compare, read.error);
        if (read.image.width != 8 * picture.columns || read.image.height != 2 * picture.lines)
            return fileError(err, options.compare, "the source is " + std::to_string(read.image.width) + " x "
                             + std::to_string(read.image.height) + " pixels, the picture " + std::to_string(8 * picture.columns)
                             + " x " + std::to_string(2 * picture.lines));
        source = std::move(read.image);
    }

    if (options.info)
        printInfo(out, picture);
    bool writePicture = !options.info || options.outputNamed || source;
    if (!writePicture)
        return EXIT_OK;

    grf::IndexedImage image = grf::render(picture, options.screen);
    if (image.width == 0 || image.height == 0)
        return fileError(err, options.input, "the picture has no pixels (" + std::to_string(picture.columns) + " x "
                         + std::to_string(picture.lines) + " cells); --screen shows the empty screen");
    std::vector<uint8_t> encoded = options.format == Format::Png ? images::encodePng(image.width, image.height, images::toRgb(image))
                                                                 : images::encodeBmp(image);
    if (encoded.empty() || !writeWholeFile(options.output, encoded))
        return fileError(err, options.output, "cannot write the file");

    if (source) {
        // The comparison works on the picture alone; with --screen it is rendered once more.
        const grf::IndexedImage shown = options.screen ? grf::render(picture, false) : std::move(image);
        Comparison comparison = compareCells(picture, shown, *source);
        size_t cells = comparison.differs.size();
        out << "cells differing: " << comparison.count << " of " << cells << " (" << std::fixed << std::setprecision(2)
            << (cells ? 100.0 * static_cast<double>(comparison.count) / static_cast<double>(cells) : 0.0) << "%)\n";
        std::string diffName = diffOutputName(options.output);
        std::vector<uint8_t> diff = diffPicture(picture, shown, comparison);
        if (diff.empty() || !writeWholeFile(diffName, diff))
            return fileError(err, diffName, "cannot write the file");
    }
    return EXIT_OK;
}

} // namespace grfview
