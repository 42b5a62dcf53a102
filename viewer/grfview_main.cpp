#include <iostream>

#include "grfview_cli.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return grfview::run(arguments, std::cout, std::cerr);
}
