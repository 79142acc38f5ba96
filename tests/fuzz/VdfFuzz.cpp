// libFuzzer target: any bytes given to the KeyValues reader are either read
// or refused, without a crash, a read past them, a hang or nesting deeper
// than it allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mods/Vdf.h"

namespace {

int Depth(const std::vector<mods::VdfNode>& pairs)
{
    int deepest = 0;
    for (const mods::VdfNode& node : pairs) {
        if (!node.isSection && !node.children.empty())
            std::abort();
        if (node.isSection)
            deepest = std::max(deepest, 1 + Depth(node.children));
    }
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto pairs = mods::ParseVdf(std::string_view(reinterpret_cast<const char*>(data), size));
    if (pairs && Depth(*pairs) > mods::kMaxVdfDepth)
        std::abort();
    if (pairs)
        (void)mods::FindVdfKey(*pairs, "libraryfolders");
    return 0;
}
