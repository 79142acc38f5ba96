#include "mods/Conflicts.h"

#include <algorithm>

#include "mods/ModFile.h"
#include "platform/Paths.h"

namespace mods {
namespace {

// The largest manifest read; real ones are a few hundred kilobytes.
constexpr std::size_t kMaxManifestBytes = 256u << 20;

char16_t Folded(char16_t unit)
{
    if (unit == u'\\')
        return u'/';
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - (u'a' - u'A')) : unit;
}

// A game file's path as two pieces of a manifest: its folder and its name.
struct PathPieces {
    const ManifestText* folder;
    const ManifestText* name;

    std::size_t size() const { return folder->length + name->length; }
    char16_t operator[](std::size_t i) const
    {
        return Folded(i < folder->length ? (*folder)[i] : (*name)[i - folder->length]);
    }
};

std::uint64_t HashOf(const PathPieces& path)
{
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (std::size_t i = 0, n = path.size(); i < n; ++i)
        hash = (hash ^ path[i]) * 1099511628211ull;
    return hash;
}

bool SamePath(const PathPieces& a, const PathPieces& b)
{
    const std::size_t n = a.size();
    if (n != b.size())
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// One mod's copy of a game file; copies of one file are chained in load order.
struct Holder {
    std::size_t mod;
    const ManifestEntry* entry;
    std::size_t next;  // kNone at the end of the chain
};

// A game file seen in at least one mod.
struct GameFile {
    PathPieces path;
    std::uint64_t hash;
    std::size_t first, last, count;
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

std::wstring FoldedKey(const std::wstring& path)
{
    std::wstring key = path;
    for (wchar_t& c : key)
        c = c == L'\\' ? L'/' : (c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - (L'a' - L'A')) : c);
    return key;
}

}  // namespace

ConflictReport FindConflicts(const std::vector<ModManifest>& mods)
{
    std::size_t total = 0;
    bool anySelected = false;
    for (const ModManifest& mod : mods) {
        if (mod.enabled && mod.manifest)
            total += mod.manifest->entries.size();
        anySelected = anySelected || mod.selected;
    }

    // Open addressing over the files, at most half full.
    std::size_t capacity = 16;
    while (capacity < 2 * total)
        capacity *= 2;
    std::vector<std::size_t> slots(capacity, kNone);
    std::vector<GameFile> files;
    std::vector<Holder> holders;
    files.reserve(total);
    holders.reserve(total);

    for (std::size_t m = 0; m < mods.size(); ++m) {
        if (!mods[m].enabled || !mods[m].manifest)
            continue;
        const Manifest& manifest = *mods[m].manifest;
        for (const ManifestEntry& entry : manifest.entries) {
            if (entry.removed)
                continue;
            const PathPieces path{&manifest.folders[entry.folder], &entry.name};
            const std::uint64_t hash = HashOf(path);
            std::size_t slot = static_cast<std::size_t>(hash) & (capacity - 1);
            while (slots[slot] != kNone) {
                const GameFile& file = files[slots[slot]];
                if (file.hash == hash && SamePath(file.path, path))
                    break;
                slot = (slot + 1) & (capacity - 1);
            }
            if (slots[slot] == kNone) {
                slots[slot] = files.size();
                files.push_back(GameFile{path, hash, holders.size(), holders.size(), 0});
            } else {
                GameFile& file = files[slots[slot]];
                if (holders[file.last].mod == m) {
                    holders[file.last].entry = &entry;  // listed twice in one manifest: the later entry
                    continue;
                }
                holders[file.last].next = holders.size();
                file.last = holders.size();
            }
            holders.push_back(Holder{m, &entry, kNone});
            ++files[slots[slot]].count;
        }
    }

    ConflictReport report;
    std::vector<bool> involved(mods.size(), false);
    std::vector<std::wstring> keys;
    for (const GameFile& file : files) {
        if (file.count < 2)
            continue;
        FileConflict conflict;
        bool touchesSelection = false;
        conflict.identical = true;
        const ManifestEntry* first = holders[file.first].entry;
        for (std::size_t h = file.first; h != kNone; h = holders[h].next) {
            const Holder& holder = holders[h];
            touchesSelection = touchesSelection || mods[holder.mod].selected;
            conflict.identical = conflict.identical && holder.entry->crc == first->crc && holder.entry->size == first->size;
            if (h == file.last)
                conflict.winner = holder.mod;
            else
                conflict.overridden.push_back(holder.mod);
        }
        if (anySelected && !touchesSelection)
            continue;
        conflict.path = EntryPath(*mods[conflict.winner].manifest, *holders[file.last].entry);
        if (!conflict.identical) {
            involved[conflict.winner] = true;
            for (std::size_t mod : conflict.overridden)
                involved[mod] = true;
        }
        report.conflicts.push_back(std::move(conflict));
    }
    report.modsInConflict = static_cast<std::size_t>(std::count(involved.begin(), involved.end(), true));

    // Real conflicts first, then identical copies; each by path.
    std::vector<std::size_t> order(report.conflicts.size());
    keys.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
        keys.push_back(FoldedKey(report.conflicts[i].path));
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (report.conflicts[a].identical != report.conflicts[b].identical)
            return !report.conflicts[a].identical;
        return keys[a] < keys[b];
    });
    std::vector<FileConflict> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(report.conflicts[i]));
    report.conflicts = std::move(sorted);
    return report;
}

ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows)
{
    // The parsed manifests point into these bytes.
    std::vector<std::vector<unsigned char>> contents(rows.size());
    std::vector<ModManifest> mods(rows.size());
    std::vector<UncheckedMod> unchecked;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        mods[i].enabled = rows[i].enabled;
        mods[i].selected = rows[i].selected;
        if (!rows[i].enabled)
            continue;  // the game does not load it
        const std::wstring path = platform::JoinPath(folder, CompanionName(rows[i].name));
        const platform::FsStatus read = fileSystem.ReadWholeFile(path, kMaxManifestBytes, contents[i]);
        if (!read.ok()) {
            unchecked.push_back(UncheckedMod{i, platform::IsNotFound(read) ? UncheckedReason::NoManifest
                                                                           : UncheckedReason::Unreadable, read});
            continue;
        }
        mods[i].manifest = ParseManifest(contents[i].data(), contents[i].size());
        if (!mods[i].manifest)
            unchecked.push_back(UncheckedMod{i, UncheckedReason::Malformed, {}});
    }
    ConflictReport report = FindConflicts(mods);
    report.unchecked = std::move(unchecked);
    return report;
}

}  // namespace mods
