// libFuzzer target: any bytes given to the manifest reader are either a
// manifest or refused, without a read past them, a crash or a hang; and any
// manifest it accepts goes through the conflict check just as safely.
#include <cstddef>
#include <cstdint>

#include "mods/Conflicts.h"
#include "mods/Manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (const auto manifest = mods::ParseManifest(data, size)) {
        for (const mods::ManifestEntry& entry : manifest->entries)
            (void)mods::EntryPath(*manifest, entry);
        // Held by two mods, every file conflicts with itself.
        (void)mods::FindConflicts({{true, false, manifest}, {true, true, manifest}});
    }
    return 0;
}
