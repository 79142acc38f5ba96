// libFuzzer target: any bytes given to the manifest reader are either a
// manifest or refused, without a read past them, a crash or a hang.
#include <cstddef>
#include <cstdint>

#include "mods/Manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const auto manifest = mods::ParseManifest(data, size)) {
        for (const mods::ManifestEntry& entry : manifest->entries)
            (void)mods::EntryPath(*manifest, entry);
    }
    return 0;
}
