// The bare reference of `pakorder list`: a program that makes the catalogue
// bench's readdir + stat loop over a folder and prints one line per mod
// (its name and time), in the order found. Run by cli_bench.
#include <cstdio>

#include "bench/BareLoop.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    bench::ReaddirAndStat(argv[1], [](const char* name, const struct stat& info) {
        std::printf("%lld %s\n", static_cast<long long>(info.st_mtime), name);
    });
    return 0;
}
