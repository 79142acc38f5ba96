#include "mods/Manifest.h"

namespace mods {
namespace {

constexpr std::uint8_t kFolderType = 7;
constexpr std::uint8_t kRemovedFolderType = 18;
// The fewest bytes a folder and an entry can take, to bound counts by what is left.
constexpr std::size_t kMinimumFolderBytes = 2 + 4;
constexpr std::size_t kMinimumEntryBytes = 4 + 1 + 2 + 4 + 4 + 8;

bool IsSeparator(char16_t unit) { return unit == u'/' || unit == u'\\'; }

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

// Counts what a manifest holds, keeping nothing.
class Counter final : public ManifestVisitor {
public:
    void Folder(const ManifestText&) override { ++folders; }
    void File(const ManifestEntry&) override { ++files; }
    std::size_t folders = 0, files = 0;
};

class Collector final : public ManifestVisitor {
public:
    explicit Collector(Manifest& manifest) : manifest_(manifest) {}
    void Folder(const ManifestText& path) override { manifest_.folders.push_back(path); }
    void File(const ManifestEntry& entry) override { manifest_.entries.push_back(entry); }

private:
    Manifest& manifest_;
};

}  // namespace

bool ReadManifest(const unsigned char* bytes, std::size_t length, ManifestVisitor& visitor)
{
    Reader reader(bytes, length);
    std::uint16_t version = 0;
    std::uint32_t checksum = 0, records = 0, folders = 0;
    ManifestText root;
    if (!reader.Read(version) || (version >= 2 && !reader.Read(checksum)) || !reader.Text(root) ||
        !reader.Read(records) || !reader.Read(folders) || folders > reader.left() / kMinimumFolderBytes)
        return false;

    for (std::uint32_t f = 0; f < folders; ++f) {
        ManifestText path;
        std::uint32_t count = 0;
        if (!reader.Text(path) || !reader.Read(count) || count > reader.left() / kMinimumEntryBytes)
            return false;
        visitor.Folder(path);
        for (std::uint32_t e = 0; e < count; ++e) {
            ManifestEntry entry;
            std::uint8_t type = 0;
            std::uint32_t offset = 0;
            std::uint64_t time = 0;
            if (!reader.Read(entry.crc) || !reader.Read(type) || !reader.Text(entry.name) || !reader.Read(offset) ||
                !reader.Read(entry.size) || !reader.Read(time))
                return false;
            const bool isFolder = type == kFolderType || type == kRemovedFolderType ||
                                  (entry.name.length > 0 && IsSeparator(entry.name[entry.name.length - 1]));
            if (isFolder || entry.name.length == 0)
                continue;
            entry.folder = f;
            entry.removed = offset == 0;
            visitor.File(entry);
        }
    }
    return true;
}

bool IsWellFormedManifest(const unsigned char* bytes, std::size_t length)
{
    Counter counter;
    return ReadManifest(bytes, length, counter);
}

std::optional<Manifest> ParseManifest(const unsigned char* bytes, std::size_t length)
{
    // Counted in a first pass, so that nothing is reserved for counts the
    // bytes do not hold.
    Counter counter;
    if (!ReadManifest(bytes, length, counter))
        return std::nullopt;
    Manifest manifest;
    manifest.folders.reserve(counter.folders);
    manifest.entries.reserve(counter.files);
    Collector collector(manifest);
    ReadManifest(bytes, length, collector);
    return manifest;
}

std::wstring EntryPath(const Manifest& manifest, const ManifestEntry& entry)
{
    return JoinedPath(manifest.folders[entry.folder], entry.name);
}

std::wstring JoinedPath(const ManifestText& folder, const ManifestText& name)
{
    // The folder, one separator (the folder's own kind, "/" when it has
    // none), then the name without the separators it begins with.
    std::size_t nameFrom = 0;
    char16_t separator = u'/';
    if (folder.length > 0) {
        while (nameFrom < name.length && IsSeparator(name[nameFrom]))
            ++nameFrom;
        for (std::size_t i = folder.length; i-- > 0;)
            if (IsSeparator(folder[i])) {
                separator = folder[i];
                break;
            }
    }
    const bool insert = folder.length > 0 && !IsSeparator(folder[folder.length - 1]);
    const std::size_t units = folder.length + (insert ? 1 : 0) + (name.length - nameFrom);
    const auto unitAt = [&](std::size_t i) {
        if (i < folder.length)
            return folder[i];
        i -= folder.length;
        if (insert && i-- == 0)
            return separator;
        return name[nameFrom + i];
    };

    std::wstring path;
    path.reserve(units);
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
