// libFuzzer target: any bytes given to the manifest reader are either a
// manifest or refused, without a read past them, a crash or a hang; and any
// manifest it accepts goes through the conflict check just as safely, as
// does any manifest, whole or not, through the conflict index.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "mods/ConflictIndex.h"
#include "mods/Conflicts.h"
#include "mods/Manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The bytes as three mods' manifests, the middle one disabled, the last meant to override the first.
    mods::ConflictIndex index;
    index.Add(L"a.pak", data, size);
    index.Add(L"b.G1O", data, size / 2);
    index.Add(L"c.pak", data, size);
    const mods::ConflictAnalysis analysis =
        index.Analyse({{L"a.pak", true, false}, {L"b.pak", true, false}, {L"c.pak", true, false}}, {{L"c", L"a"}});
    (void)index.AllRelations(analysis);
    const mods::ConflictReport indexed = index.Report(analysis);
    for (const mods::FileConflict& conflict : indexed.conflicts)
        (void)indexed.PathOf(conflict);

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
