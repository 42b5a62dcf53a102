#include "conversion_run.h"
#include "platform.h"

int main(int argc, char** argv)
{
    platformStart(&argc, &argv);
    runConversion(argc - 1, argv + 1);
    platformExit(0);
}
