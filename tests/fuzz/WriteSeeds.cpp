// Writes the fuzzer's first inputs: small valid manifests of each kind.
#include <fstream>
#include <string>

#include "unit/ManifestBytes.h"

using namespace testing_files;

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const std::vector<std::vector<unsigned char>> seeds = {
        ManifestBytes({}),
        ManifestBytes({{u"MEDIA/", {{u"A.DAT"}}}}, 0),
        ManifestBytes({{u"MEDIA/", {{u"UNITS/", 0, 0, 0, 7}, {u"README.TXT"}, {u""}}},
                       {u"MEDIA/UNITS/", {{u"OLD.DAT", 1, 1, 0}, {u"GONE/", 0, 0, 0, 18}, {u"火炬.LAYOUT", 7, 70}}}}),
    };
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        std::ofstream out(std::string(argv[1]) + "/seed" + std::to_string(i) + ".MAN", std::ios::binary);
        out.write(reinterpret_cast<const char*>(seeds[i].data()), static_cast<std::streamsize>(seeds[i].size()));
        if (!out)
            return 1;
    }
    return 0;
}
