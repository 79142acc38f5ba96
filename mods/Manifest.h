#pragma once
// A mod's ".MAN" manifest: the game files its pak holds. The bytes come
// from disk and are not trusted: every count and length is checked against
// what is left, and a bad file is an error, never a crash or a huge allocation.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mods {

struct ManifestEntry {
    std::wstring path;         // the folder's path followed by the file's name, as stored
    std::uint32_t crc = 0;     // CRC-32 of the file's uncompressed data
    std::uint32_t size = 0;
    bool removed = false;      // a removed file: it replaces nothing
};

// The file entries of a manifest (folders and nameless entries left out),
// or nothing when the bytes are not a whole, well-formed manifest.
std::optional<std::vector<ManifestEntry>> ParseManifest(const unsigned char* bytes, std::size_t length);

}  // namespace mods
