// The grfview command line: options, messages and exit codes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace grfview {

constexpr int EXIT_OK = 0;
constexpr int EXIT_BAD_FILE = 1;    // a file that cannot be read, decoded or written
constexpr int EXIT_USAGE = 2;

// arguments: everything after the program's name.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// INPUT with its extension replaced by ".png" (or ".png" appended).
std::string defaultOutputName(const std::string& input);

// OUTPUT without its extension, then "-diff.png".
std::string diffOutputName(const std::string& output);

} // namespace grfview
