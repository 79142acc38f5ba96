#pragma once
// A mod's ".MAN" manifest: the game files its pak holds. The bytes come
// from disk and are not trusted: every count and length is checked against
// what is left, and a bad file is an error, never a crash or a huge
// allocation. The parsed manifest points into the bytes, which must outlive it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mods {

// A string of the manifest: UTF-16LE code units inside its bytes.
struct ManifestText {
    const unsigned char* units = nullptr;
    std::size_t length = 0;  // in code units

    char16_t operator[](std::size_t i) const
    {
        return static_cast<char16_t>(units[2 * i] | (units[2 * i + 1] << 8));
    }
};

struct ManifestEntry {
    std::size_t folder = 0;    // index into Manifest::folders
    ManifestText name;
    std::uint32_t crc = 0;     // CRC-32 of the file's uncompressed data
    std::uint32_t size = 0;
    bool removed = false;      // a removed file: it replaces nothing
};

struct Manifest {
    std::vector<ManifestText> folders;  // full paths, such as "MEDIA/UNITS/ITEMS/"
    std::vector<ManifestEntry> entries; // files only: folders and nameless entries are left out
};

// Told a manifest's contents in the file's order: each folder, then its files.
class ManifestVisitor {
public:
    virtual void Folder(const ManifestText& path) = 0;
    // `entry.folder` counts the folders told so far, from 0.
    virtual void File(const ManifestEntry& entry) = 0;

protected:
    ~ManifestVisitor() = default;
};

// Tells the visitor every folder and file; false when the bytes are not a
// whole, well-formed manifest, possibly after telling it part of them.
bool ReadManifest(const unsigned char* bytes, std::size_t length, ManifestVisitor& visitor);
// True when ReadManifest would succeed.
bool IsWellFormedManifest(const unsigned char* bytes, std::size_t length);

// Nothing when the bytes are not a whole, well-formed manifest.
std::optional<Manifest> ParseManifest(const unsigned char* bytes, std::size_t length);

// A folder's path followed by a name, as one path: one separator between
// them however the folder ends and the name begins.
std::wstring JoinedPath(const ManifestText& folder, const ManifestText& name);
// The entry's full path: its folder's path followed by its name.
std::wstring EntryPath(const Manifest& manifest, const ManifestEntry& entry);

}  // namespace mods
