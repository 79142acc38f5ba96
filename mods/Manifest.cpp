#include "mods/Manifest.h"

namespace mods {
namespace {

constexpr std::uint8_t kFolderType = 7;
constexpr std::uint8_t kRemovedFolderType = 18;
// The fewest bytes a folder and an entry can take, to bound counts by what is left.
constexpr std::size_t kMinimumFolderBytes = 2 + 4;
constexpr std::size_t kMinimumEntryBytes = 4 + 1 + 2 + 4 + 4 + 8;

class Reader {
public:
    Reader(const unsigned char* bytes, std::size_t length) : next_(bytes), left_(length) {}

    std::size_t left() const { return left_; }

    bool Number(std::uint64_t& value, std::size_t size)
    {
        if (left_ < size)
            return false;
        value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value |= static_cast<std::uint64_t>(next_[i]) << (8 * i);
        Skip(size);
        return true;
    }
    template <typename T>
    bool Read(T& value)
    {
        std::uint64_t wide = 0;
        if (!Number(wide, sizeof(T)))
            return false;
        value = static_cast<T>(wide);
        return true;
    }
    bool Text(ManifestText& text)
    {
        std::uint16_t units = 0;
        if (!Read(units) || left_ / 2 < units)
            return false;
        text = ManifestText{next_, units};
        Skip(2 * std::size_t{units});
        return true;
    }

private:
    void Skip(std::size_t size)
    {
        next_ += size;
        left_ -= size;
    }
    const unsigned char* next_;
    std::size_t left_;
};

}  // namespace

std::optional<Manifest> ParseManifest(const unsigned char* bytes, std::size_t length)
{
    Manifest manifest;
    if (!ParseManifestInto(bytes, length, manifest))
        return std::nullopt;
    return manifest;
}

bool ParseManifestInto(const unsigned char* bytes, std::size_t length, Manifest& manifest)
{
    manifest.folders.clear();
    manifest.entries.clear();
    Reader reader(bytes, length);
    std::uint16_t version = 0;
    std::uint32_t checksum = 0, records = 0, folders = 0;
    ManifestText root;
    if (!reader.Read(version) || (version >= 2 && !reader.Read(checksum)) || !reader.Text(root) ||
        !reader.Read(records) || !reader.Read(folders) || folders > reader.left() / kMinimumFolderBytes)
        return false;

    manifest.folders.reserve(folders);
    for (std::uint32_t f = 0; f < folders; ++f) {
        ManifestText path;
        std::uint32_t count = 0;
        if (!reader.Text(path) || !reader.Read(count) || count > reader.left() / kMinimumEntryBytes)
            return false;
        const std::size_t folder = manifest.folders.size();
        manifest.folders.push_back(path);
        for (std::uint32_t e = 0; e < count; ++e) {
            ManifestEntry entry;
            std::uint8_t type = 0;
            std::uint32_t offset = 0;
            std::uint64_t time = 0;
            if (!reader.Read(entry.crc) || !reader.Read(type) || !reader.Text(entry.name) || !reader.Read(offset) ||
                !reader.Read(entry.size) || !reader.Read(time))
                return false;
            const bool isFolder = type == kFolderType || type == kRemovedFolderType ||
                                  (entry.name.length > 0 && entry.name[entry.name.length - 1] == u'/');
            if (isFolder || entry.name.length == 0)
                continue;
            entry.folder = folder;
            entry.removed = offset == 0;
            manifest.entries.push_back(entry);
        }
    }
    return true;
}

std::wstring EntryPath(const Manifest& manifest, const ManifestEntry& entry)
{
    return JoinedPath(manifest.folders[entry.folder], entry.name);
}

std::wstring JoinedPath(const ManifestText& folder, const ManifestText& name)
{
    std::wstring path;
    path.reserve(folder.length + name.length);
    const auto unitAt = [&](std::size_t i) { return i < folder.length ? folder[i] : name[i - folder.length]; };
    const std::size_t units = folder.length + name.length;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(i);
        // Wide characters of 32 bits: join surrogate pairs; a lone half stays as it is.
        if constexpr (sizeof(wchar_t) == 4) {
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units && unitAt(i + 1) >= 0xDC00 && unitAt(i + 1) < 0xE000) {
                path.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00)));
                ++i;
                continue;
            }
        }
        path.push_back(static_cast<wchar_t>(unit));
    }
    return path;
}

}  // namespace mods
