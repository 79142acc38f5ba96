#pragma once
// The mod folders the conflict benchmarks check: many mods of a real size
// drawing on the same names, and manifests at the size limit.

#include <cstdint>
#include <string>
#include <vector>

#include "mods/Conflicts.h"
#include "unit/ManifestBytes.h"

namespace bench {

constexpr int kMods = 500;
constexpr int kFilesPerMod = 2000;

// Mod `m` of kMods: 20 folders of kFilesPerMod / 20 files, drawn from the
// same 40,000 names as every other mod, so many files are shared.
inline std::vector<testing_files::ManifestFolderToWrite> SharedNamesManifest(int m)
{
    std::vector<testing_files::ManifestFolderToWrite> folders(20);
    for (int f = 0; f < 20; ++f) {
        folders[f].path = u"MEDIA/UNITS/ITEMS/SET" + std::u16string(1, static_cast<char16_t>(u'A' + f)) + u"/";
        for (int e = 0; e < kFilesPerMod / 20; ++e) {
            const int n = (m * 7919 + e * 104729 + f) % 2000;
            std::u16string name = u"ITEM_";
            for (char c : std::to_string(n))
                name.push_back(static_cast<char16_t>(c));
            folders[f].entries.push_back(testing_files::ManifestFileToWrite{name + u".DAT", static_cast<std::uint32_t>(m), 100});
        }
    }
    return folders;
}

// A well-formed manifest just under the size limit, of the smallest
// entries a real manifest could hold (names of two letters), every one a
// different file.
inline std::vector<unsigned char> ManifestAtTheLimit(std::uint32_t crc)
{
    constexpr char16_t kLetters[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr std::size_t kEntryBytes = 4 + 1 + 2 + 2 * 2 + 4 + 4 + 8;
    std::vector<testing_files::ManifestFolderToWrite> folders;
    std::size_t bytes = 2 + 4 + 2 + 2 * 6 + 4 + 4;
    while (bytes < mods::kMaxManifestBytes - 4096) {
        testing_files::ManifestFolderToWrite& folder = folders.emplace_back();
        const std::string number = std::to_string(folders.size());
        folder.path = u"MEDIA/UNITS/ITEMS/D" + std::u16string(number.begin(), number.end()) + u"/";
        bytes += 2 + 2 * folder.path.size() + 4;
        for (char16_t a : std::u16string_view(kLetters))
            for (char16_t b : std::u16string_view(kLetters)) {
                if (bytes + kEntryBytes > mods::kMaxManifestBytes - 4096)
                    break;
                folder.entries.push_back(testing_files::ManifestFileToWrite{std::u16string{a, b}, crc, 100});
                bytes += kEntryBytes;
            }
    }
    return testing_files::ManifestBytes(folders);
}

}  // namespace bench
