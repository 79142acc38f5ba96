// libFuzzer target: any bytes given to the manifest reader are either a
// manifest or refused, without a read past them, a crash or a hang; and any
// manifest it accepts goes through the conflict check just as safely.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "mods/Conflicts.h"
#include "mods/Manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto manifest = mods::ParseManifest(data, size);
    if (!manifest)
        return 0;
    for (const mods::ManifestEntry& entry : manifest->entries)
        (void)mods::EntryPath(*manifest, entry);

    // The same files spelled otherwise, where that still parses: letters in
    // the other case, the other separator.
    std::vector<std::uint8_t> respelled(data, data + size);
    for (std::uint8_t& byte : respelled) {
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'))
            byte ^= 0x20;
        else if (byte == '/' || byte == '\\')
            byte = byte == '/' ? '\\' : '/';
    }
    std::vector<mods::ModManifest> mods{{true, false, manifest}, {true, true, manifest}};
    if (auto other = mods::ParseManifest(respelled.data(), respelled.size()))
        mods.push_back({true, false, std::move(other)});
    const mods::ConflictReport report = mods::FindConflicts(mods);
    for (const mods::FileConflict& conflict : report.conflicts)
        (void)report.PathOf(conflict);
    return 0;
}
