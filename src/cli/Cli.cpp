#include "Cli.h"

#include <cstdio>

int RunCli(int, char**) {
    std::fputs("vek-cli: not built yet\n", stderr);
    return 2;
}
