// libFuzzer target: any bytes given to the reader of intended overlaps give
// pairs and named problems, without a crash, a read past them or a hang;
// every pair read is a valid pair, named once, and the pairs written back
// read as the same pairs with no problem.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "mods/IntendedOverlaps.h"
#include "mods/ModList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<mods::OverlapsProblem> problems;
    const std::vector<mods::IntendedOverlap> pairs =
        mods::ParseIntendedOverlaps(std::vector<unsigned char>(data, data + size), problems);
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (!mods::FormatOverlapPair(pairs[i]))
            std::abort();
        for (std::size_t k = 0; k < i; ++k)
            if (mods::SameOverlap(pairs[i], pairs[k]))
                std::abort();
    }
    const std::string text = mods::FormatIntendedOverlaps(pairs);
    std::vector<mods::OverlapsProblem> again;
    if (mods::ParseIntendedOverlaps(std::vector<unsigned char>(text.begin(), text.end()), again) != pairs || !again.empty())
        std::abort();
    return 0;
}
