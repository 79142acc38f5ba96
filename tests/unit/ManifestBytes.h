#pragma once
// Writes manifests as the game's tools do, for the tests and the fuzzer's seeds.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_files {

struct ManifestFileToWrite {
    std::u16string name;        // folders end in "/"
    std::uint32_t crc = 0x1234;
    std::uint32_t size = 100;
    std::uint32_t offset = 64;  // 0: a removed file
    std::uint8_t type = 1;      // 7 a folder, 18 a removed folder
};

struct ManifestFolderToWrite {
    std::u16string path;        // such as u"MEDIA/UNITS/"
    std::vector<ManifestFileToWrite> entries;
};

inline std::vector<unsigned char> ManifestBytes(const std::vector<ManifestFolderToWrite>& folders, std::uint16_t version = 2)
{
    std::vector<unsigned char> bytes;
    auto number = [&](std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    auto text = [&](const std::u16string& s) {
        number(s.size(), 2);
        for (char16_t unit : s)
            number(unit, 2);
    };
    number(version, 2);
    if (version >= 2)
        number(0xC0FFEE, 4);
    text(u"MEDIA/");
    std::uint32_t records = 0;
    for (const ManifestFolderToWrite& folder : folders)
        records += 1 + static_cast<std::uint32_t>(folder.entries.size());
    number(records, 4);
    number(folders.size(), 4);
    for (const ManifestFolderToWrite& folder : folders) {
        text(folder.path);
        number(folder.entries.size(), 4);
        for (const ManifestFileToWrite& entry : folder.entries) {
            number(entry.crc, 4);
            number(entry.type, 1);
            text(entry.name);
            number(entry.offset, 4);
            number(entry.size, 4);
            number(0x01D0000000000000ull, 8);
        }
    }
    return bytes;
}

}  // namespace testing_files
