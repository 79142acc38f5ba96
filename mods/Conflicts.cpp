#include "mods/Conflicts.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "mods/ModFile.h"
#include "platform/Paths.h"

namespace mods {
namespace {

// The largest manifest read; real ones are a few hundred kilobytes.
constexpr std::size_t kMaxManifestBytes = 256u << 20;

// A path's character as paths are compared: ASCII upper case, "\\" as "/".
template <typename Char>
Char Folded(Char c)
{
    if (c == Char('\\'))
        return Char('/');
    return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - (Char('a') - Char('A'))) : c;
}

std::u16string FoldedText(const ManifestText& text)
{
    std::u16string folded(text.length, u'\0');
    for (std::size_t i = 0; i < text.length; ++i)
        folded[i] = Folded(text[i]);
    return folded;
}

std::uint64_t HashOfName(const ManifestText& name, std::uint64_t folder)
{
    std::uint64_t hash = 14695981039346656037ull ^ (folder * 0x9E3779B97F4A7C15ull);  // FNV-1a
    for (std::size_t i = 0; i < name.length; ++i)
        hash = (hash ^ Folded(name[i])) * 1099511628211ull;
    // Spread the bits, so the table's low bits see all of them.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 33);
}

// One mod's copy of a game file, in the order the mods load.
struct Holder {
    std::size_t file;
    std::size_t mod;
    const ManifestEntry* entry;
};

// A game file, known by its folder (one number for every spelling of the
// folder's path) and its name, seen in at least one mod.
struct GameFile {
    std::size_t folder;
    std::size_t nameAt, nameLength;  // its folded name in the table's own copy
    std::uint64_t hash;
    std::size_t count;       // mods that hold it
    std::size_t lastHolder;  // the copy of the mod loaded last so far
    std::size_t lastMod;
};

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Open addressing over the game files, kept at most half full. The table
// keeps its own folded copy of every name, so a lookup reads nothing but
// the table and the name looked up.
class FileTable {
public:
    FileTable() : slots_(1024) {}

    // The file with that folder and name, added when it is new.
    std::size_t Find(std::size_t folder, const ManifestText& name, std::vector<GameFile>& files)
    {
        const std::uint64_t hash = HashOfName(name, folder);
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        std::size_t slot = static_cast<std::size_t>(hash) & (slots_.size() - 1);
        for (; slots_[slot].file != kEmpty; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot].tag != tag)
                continue;
            const GameFile& file = files[slots_[slot].file];
            if (file.hash == hash && file.folder == folder && SameName(file, name))
                return slots_[slot].file;
        }
        slots_[slot] = Slot{static_cast<std::uint32_t>(files.size()), tag};
        files.push_back(GameFile{folder, names_.size(), name.length, hash, 0, kNone, kNone});
        for (std::size_t i = 0; i < name.length; ++i)
            names_.push_back(Folded(name[i]));
        if (2 * files.size() > slots_.size())
            Grow(files);
        return files.size() - 1;
    }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    struct Slot {
        std::uint32_t file = kEmpty;
        std::uint32_t tag = 0;  // the hash's high half, to pass over most others unread
    };

    bool SameName(const GameFile& file, const ManifestText& name) const
    {
        if (file.nameLength != name.length)
            return false;
        for (std::size_t i = 0; i < name.length; ++i)
            if (names_[file.nameAt + i] != Folded(name[i]))
                return false;
        return true;
    }

    void Grow(const std::vector<GameFile>& files)
    {
        slots_.assign(2 * slots_.size(), Slot{});
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::size_t slot = static_cast<std::size_t>(files[i].hash) & (slots_.size() - 1);
            while (slots_[slot].file != kEmpty)
                slot = (slot + 1) & (slots_.size() - 1);
            slots_[slot] = Slot{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(files[i].hash >> 32)};
        }
    }

    std::vector<Slot> slots_;
    std::vector<char16_t> names_;
};

std::wstring FoldedKey(const std::wstring& path)
{
    std::wstring key = path;
    for (wchar_t& c : key)
        c = Folded(c);
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

    std::unordered_map<std::u16string, std::size_t> folderIds;
    std::vector<std::size_t> folderOf;
    FileTable table;
    std::vector<GameFile> files;
    std::vector<Holder> holders;
    holders.reserve(total);

    for (std::size_t m = 0; m < mods.size(); ++m) {
        if (!mods[m].enabled || !mods[m].manifest)
            continue;
        const Manifest& manifest = *mods[m].manifest;
        folderOf.clear();
        for (const ManifestText& folder : manifest.folders)
            folderOf.push_back(folderIds.emplace(FoldedText(folder), folderIds.size()).first->second);
        for (const ManifestEntry& entry : manifest.entries) {
            if (entry.removed)
                continue;
            const std::size_t index = table.Find(folderOf[entry.folder], entry.name, files);
            GameFile& file = files[index];
            if (file.lastMod == m) {
                holders[file.lastHolder].entry = &entry;  // listed twice in one manifest: the later entry
                continue;
            }
            file.lastMod = m;
            file.lastHolder = holders.size();
            ++file.count;
            holders.push_back(Holder{index, m, &entry});
        }
    }

    // The copies grouped by file, still in load order (a counting sort).
    std::vector<std::size_t> start(files.size() + 1, 0);
    for (const Holder& holder : holders)
        ++start[holder.file + 1];
    for (std::size_t f = 0; f < files.size(); ++f)
        start[f + 1] += start[f];
    std::vector<const Holder*> grouped(holders.size());
    {
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        for (const Holder& holder : holders)
            if (files[holder.file].count > 1)
                grouped[next[holder.file]++] = &holder;
    }

    ConflictReport report;
    std::vector<bool> involved(mods.size(), false);
    std::vector<std::wstring> keys;
    for (std::size_t f = 0; f < files.size(); ++f) {
        if (files[f].count < 2)
            continue;
        FileConflict conflict;
        bool touchesSelection = false;
        conflict.identical = true;
        const ManifestEntry* first = grouped[start[f]]->entry;
        const Holder* last = grouped[start[f + 1] - 1];
        conflict.overridden.reserve(files[f].count - 1);
        for (std::size_t h = start[f]; h < start[f + 1]; ++h) {
            const Holder& holder = *grouped[h];
            touchesSelection = touchesSelection || mods[holder.mod].selected;
            conflict.identical = conflict.identical && holder.entry->crc == first->crc && holder.entry->size == first->size;
            if (&holder != last)
                conflict.overridden.push_back(holder.mod);
        }
        if (anySelected && !touchesSelection)
            continue;
        conflict.winner = last->mod;
        conflict.path = EntryPath(*mods[conflict.winner].manifest, *last->entry);
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
