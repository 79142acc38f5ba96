// The bare reference of `pakorder list`: a program that makes the catalogue
// bench's readdir + stat loop over a folder and prints one line per mod
// (its name and time), in the order found. With --manifests it also reads
// the bytes of each enabled mod's .MAN, as the list's marks need at least.
// Run by cli_bench.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "bench/BareLoop.h"

int main(int argc, char** argv)
{
    const bool manifests = argc == 3 && std::strcmp(argv[1], "--manifests") == 0;
    if (argc != 2 && !manifests)
        return 2;
    const std::string folder = argv[argc - 1];
    static char buffer[1 << 16];
    bench::ReaddirAndStat(folder, [&](const char* name, const struct stat& info) {
        std::printf("%lld %s\n", static_cast<long long>(info.st_mtime), name);
        if (!manifests || bench::EndsWith(name, ".G1O"))
            return;
        const int file = open((folder + "/" + name + ".MAN").c_str(), O_RDONLY);
        if (file < 0)
            return;
        while (read(file, buffer, sizeof buffer) > 0) {
        }
        close(file);
    });
    return 0;
}
