#include "conversion_run.h"

#include <cstring>

#include "bitmap_input.h"
#include "buffers.h"
#include "cell_encoder.h"
#include "grf_format.h"

const char* inputName;
char outputName[NAME_CAPACITY + 4];

namespace {

constexpr int EXIT_REJECTED = 1;
constexpr int EXIT_FAILED = 1;
constexpr int32_t LINE_CAPACITY = 512;

// The step of the run being carried out. The failure report shows it as the
// place at which the failure was found.
uint32_t runStep;

// Line composition: text is cut into buffer-sized pieces if it has to be, so
// a long file name still reaches the console whole.
char lineBuffer[LINE_CAPACITY];
int32_t lineLength;

bool flushLine(IoError* error)
{
    bool written = platformWriteConsole(lineBuffer, lineLength, error);
    lineLength = 0;
    return written;
}

bool appendText(const char* text, IoError* error)
{
    for (; *text; ++text) {
        if (lineLength == LINE_CAPACITY && !flushLine(error))
            return false;
        lineBuffer[lineLength++] = *text;
    }
    return true;
}

// Decimal, no padding, "-" for negative values; INT32_MIN included.
void formatNumber(int32_t value, char* text)
{
    int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    char digits[12];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (value < 0)
        *text++ = '-';
    while (count > 0)
        *text++ = digits[--count];
    *text = '\0';
}

void formatHex8(uint32_t value, char* text)
{
    static const char HEX_DIGITS[] = "0123456789ABCDEF";
    for (int i = 7; i >= 0; --i) {
        text[i] = HEX_DIGITS[value & 0xF];
        value >>= 4;
    }
    text[8] = '\0';
}

void writeLineParts(const char* head, const char* tail)
{
    IoError error;
    lineLength = 0;
    if (!appendText(head, &error) || !appendText(tail, &error) || !appendText("\r\n", &error)
        || !flushLine(&error))
        reportIoFailure(error);
}

const char* messageFor(IoError error, char* text)
{
    switch (error.reason) {
    case IoReason::FileNotFound:
        return "File not found";
    case IoReason::InvalidFilename:
        return "Invalid filename";
    case IoReason::TooManyOpenFiles:
        return "Too many open files";
    case IoReason::AccessDenied:
        return "File access denied";
    case IoReason::Other:
        break;
    }
    std::strcpy(text, "I/O error ");
    formatNumber(error.number, text + std::strlen(text));
    return text;
}

[[noreturn]] void reportMessage(const char* message)
{
    // The report may itself fail to reach the console; the exit code still
    // tells the failure.
    char place[9];
    formatHex8(runStep, place);
    IoError ignored;
    lineLength = 0;
    if (appendText("Exception EInOutError in module ", &ignored) && appendText(platformProgramName(), &ignored)
        && appendText(" at ", &ignored) && appendText(place, &ignored) && appendText(".\n", &ignored)
        && appendText(message, &ignored) && appendText(".\r\n", &ignored))
        flushLine(&ignored);
    platformExit(EXIT_FAILED);
}

// Number of characters after position byteIndex, counting each UTF-8
// character once (continuation bytes are 10xxxxxx).
int32_t charactersAfter(const char* name, size_t byteIndex)
{
    int32_t count = 0;
    for (const char* at = name + byteIndex + 1; *at; ++at)
        if ((static_cast<unsigned char>(*at) & 0xC0) != 0x80)
            ++count;
    return count;
}

FileHandle openInput()
{
    FileHandle file;
    IoError error;
    if (!platformOpenForReading(inputName, &file, &error))
        reportIoFailure(error);
    return file;
}

int64_t inputSize(FileHandle file)
{
    int64_t size;
    IoError error;
    if (!platformFileSize(file, &size, &error))
        reportIoFailure(error);
    return size;
}

void loadInput(FileHandle file, int32_t size)
{
    int64_t delivered;
    IoError error;
    if (!platformRead(file, InputBuffer, size, &delivered, &error))
        reportIoFailure(error);
    if (delivered < size)
        reportMessage("Read beyond end of file");
}

void closeFile(FileHandle file)
{
    IoError error;
    if (!platformClose(file, &error))
        reportIoFailure(error);
}

// The input must survive the run, so an output name that leads to the input
// file (the same name, or a link to it) is refused before anything is created.
void refuseSelfOverwrite()
{
    if (std::strcmp(inputName, outputName) == 0 || platformSameFile(inputName, outputName))
        rejectInput("output would overwrite input");
}

FileHandle createOutput()
{
    FileHandle file;
    IoError error;
    if (!platformCreate(outputName, &file, &error))
        reportIoFailure(error);
    return file;
}

void writeOutput(FileHandle file)
{
    int64_t taken;
    IoError error;
    if (!platformWrite(file, OutputBuffer, OutputLength, &taken, &error))
        reportIoFailure(error);
    if (taken < OutputLength)
        reportMessage("Disk full");
}

} // namespace

const char* chooseInputName(int argumentCount, char* const* arguments)
{
    for (int i = 0; i < argumentCount; ++i)
        if (arguments[i] && arguments[i][0] != '\0')
            return arguments[i];
    return DEFAULT_INPUT_NAME;
}

bool deriveOutputName()
{
    size_t length = std::strlen(inputName);
    const char* lastDot = std::strrchr(inputName, '.');
    if (lastDot && charactersAfter(inputName, static_cast<size_t>(lastDot - inputName)) <= 3)
        length = static_cast<size_t>(lastDot - inputName);
    if (length + sizeof ".grf" > sizeof outputName)
        return false;
    std::memcpy(outputName, inputName, length);
    std::memcpy(outputName + length, ".grf", sizeof ".grf");
    return true;
}

void writeConsoleLine(const char* text)
{
    writeLineParts(text, "");
}

void writeConsoleNumberLine(int32_t value)
{
    char number[12];
    formatNumber(value, number);
    writeLineParts(number, "");
}

void rejectInput(const char* message)
{
    writeConsoleLine(message);
    platformExit(EXIT_REJECTED);
}

void reportIoFailure(IoError error)
{
    char text[32];
    reportMessage(messageFor(error, text));
}

void runConversion(int argumentCount, char* const* arguments)
{
    runStep = 1;
    inputName = chooseInputName(argumentCount, arguments);
    runStep = 2;
    FileHandle input = openInput();
    runStep = 3;
    int64_t size = inputSize(input);
    if (size < SMALLEST_INPUT)
        rejectInput("file too small");
    runStep = 4;
    if (size > INPUT_CAPACITY)
        rejectInput("file too big");
    runStep = 5;
    writeConsoleLine("=========================== Ombrix to GRF v0.1 ============================");
    runStep = 6;
    writeConsoleLine("convert TurboATM Multicolor, PrintScreen, crop, save as 8bit and give it me");
    runStep = 7;
    writeLineParts("input file=", inputName);
    runStep = 8;
    loadInput(input, static_cast<int32_t>(size));
    runStep = 9;
    closeFile(input);
    runStep = 10;
    readBitmap();
    runStep = 11;
    encodeCells();
    runStep = 12;
    buildGrfFile();
    runStep = 13;
    if (!deriveOutputName())
        reportIoFailure({IoReason::InvalidFilename, 0});
    refuseSelfOverwrite();
    runStep = 14;
    FileHandle output = createOutput();
    runStep = 15;
    writeOutput(output);
    runStep = 16;
    closeFile(output);
    runStep = 17;
    char total[12];
    formatNumber(OutputLength, total);
    writeLineParts("total bytes=", total);
    runStep = 18;
    if (OutputLength > SIZE_WARNING)
        writeConsoleLine("file too long!");
}
