#include "mods/Conflicts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>

#include "mods/ModFile.h"
#include "platform/Paths.h"

namespace mods {
namespace {

// The largest manifest read; real ones are a few hundred kilobytes.
constexpr std::size_t kMaxManifestBytes = 256u << 20;
constexpr std::uint32_t kNone = 0xFFFFFFFF;

// A manifest text's UTF-16LE bytes as paths are compared, appended to
// `folded`: ASCII upper case, "\\" as "/". Folded bytes compare with memcmp
// and hash a word at a time.
void AppendFolded(const ManifestText& text, std::string& folded)
{
    const std::size_t at = folded.size();
    folded.resize(at + 2 * text.length);
    char* out = folded.data() + at;
    for (std::size_t i = 0; i < 2 * text.length; i += 2) {
        unsigned char low = text.units[i];
        const unsigned char high = text.units[i + 1];
        if (high == 0 && low >= 'a' && low <= 'z')
            low = static_cast<unsigned char>(low - ('a' - 'A'));
        else if (high == 0 && low == '\\')
            low = '/';
        out[i] = static_cast<char>(low);
        out[i + 1] = static_cast<char>(high);
    }
}

// Asks for memory that will soon be read: the table is far bigger than the
// cache, and a lookup's misses then overlap with the work on earlier entries.
inline void Prefetch(const void* address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

std::uint64_t Mixed(std::uint64_t hash)
{
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 33);
}

std::uint64_t HashOf(std::string_view bytes, std::uint32_t folder)
{
    constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = (folder + 1) * kOdd ^ bytes.size();
    std::size_t at = 0;
    for (; at + 8 <= bytes.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * kOdd;
        hash ^= hash >> 29;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes.data() + at, bytes.size() - at);
    return Mixed((hash ^ tail) * kOdd);
}

// A mod's copy of a game file, as far as conflicts go.
struct Copy {
    std::uint32_t crc = 0;
    std::uint32_t size = 0;
    bool operator==(const Copy&) const = default;
};

// A game file, known by its folder (one number for every spelling of the
// folder's path) and its folded name, held by at least one mod.
struct GameFile {
    std::uint64_t hash = 0;
    std::size_t nameAt = 0;       // in the table's names: the folded name, then its last holder's spelling
    std::uint32_t nameBytes = 0;
    std::uint32_t folder = 0;
    std::uint32_t spelledFolder = 0;  // the folder as its last holder spells it
    std::uint32_t holders = 0;    // mods that hold it
    std::uint32_t lastMod = kNone;
    Copy first{}, last{};         // the copies of the first and the last mod so far
    bool sameBeforeLast = true;   // every copy before the last one is the same as the first

    bool Identical() const { return sameBeforeLast && last == first; }
};

// Open addressing over the game files, kept at most half full.
class FileTable {
public:
    FileTable() : slots_(1024) {}

    // The file of that folder and folded name (of that hash), added when it
    // is new; its spelling becomes `spelling`.
    std::uint32_t Find(std::uint64_t hash, std::uint32_t folder, std::string_view folded, const ManifestText& spelling)
    {
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        std::size_t slot = static_cast<std::size_t>(hash) & (slots_.size() - 1);
        for (; slots_[slot].file != kNone; slot = (slot + 1) & (slots_.size() - 1)) {
            if (slots_[slot].tag != tag)
                continue;
            GameFile& file = files_[slots_[slot].file];
            if (file.folder != folder || file.nameBytes != folded.size())
                continue;
            // Mostly spelled as before; a later mod may spell it otherwise,
            // and the report shows the winner's spelling.
            char* spelled = names_.data() + file.nameAt + file.nameBytes;
            if (std::memcmp(spelled, spelling.units, folded.size()) == 0)
                return slots_[slot].file;
            if (std::memcmp(names_.data() + file.nameAt, folded.data(), folded.size()) == 0) {
                std::memcpy(spelled, spelling.units, folded.size());
                return slots_[slot].file;
            }
        }
        const auto index = static_cast<std::uint32_t>(files_.size());
        slots_[slot] = Slot{index, tag};
        files_.push_back(GameFile{.hash = hash, .nameAt = names_.size(),
                                  .nameBytes = static_cast<std::uint32_t>(folded.size()), .folder = folder});
        names_.append(folded);
        names_.append(reinterpret_cast<const char*>(spelling.units), folded.size());
        if (2 * files_.size() > slots_.size())
            Grow();
        return index;
    }

    // Lookups ahead of time, in three steps, each reading what the one
    // before fetched: the slot, then the file, then its name.
    void PrefetchSlot(std::uint64_t hash) const { Prefetch(&slots_[SlotOf(hash)]); }
    void PrefetchFile(std::uint64_t hash) const
    {
        if (const Slot& slot = slots_[SlotOf(hash)]; slot.file != kNone)
            Prefetch(&files_[slot.file]);
    }
    void PrefetchName(std::uint64_t hash) const
    {
        if (const Slot& slot = slots_[SlotOf(hash)]; slot.file != kNone)
            Prefetch(names_.data() + files_[slot.file].nameAt);
    }

    std::vector<GameFile>& files() { return files_; }
    const std::vector<GameFile>& files() const { return files_; }
    // The file's folded name, or its last holder's spelling, as UTF-16LE bytes.
    std::string_view FoldedName(const GameFile& file) const { return {names_.data() + file.nameAt, file.nameBytes}; }
    ManifestText Spelling(const GameFile& file) const
    {
        return ManifestText{reinterpret_cast<const unsigned char*>(names_.data() + file.nameAt + file.nameBytes),
                            file.nameBytes / 2};
    }

private:
    std::size_t SlotOf(std::uint64_t hash) const { return static_cast<std::size_t>(hash) & (slots_.size() - 1); }

    struct Slot {
        std::uint32_t file = kNone;
        std::uint32_t tag = 0;  // the hash's high half, to pass over most others unread
    };

    void Grow()
    {
        slots_.assign(2 * slots_.size(), Slot{});
        for (std::size_t i = 0; i < files_.size(); ++i) {
            std::size_t slot = static_cast<std::size_t>(files_[i].hash) & (slots_.size() - 1);
            while (slots_[slot].file != kNone)
                slot = (slot + 1) & (slots_.size() - 1);
            slots_[slot] = Slot{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(files_[i].hash >> 32)};
        }
    }

    std::vector<Slot> slots_;
    std::vector<GameFile> files_;
    std::string names_;
};

// A folder as the mods spell it, and the number of its folded path.
struct SpelledFolder {
    std::string bytes;  // UTF-16LE
    std::uint32_t folded;
};

// Gathers the mods' files one manifest at a time, in load order, keeping
// only what the report needs: a manifest's bytes need not outlive its turn.
class ConflictFinder {
public:
    void AddMod(std::size_t mod, const Manifest& manifest)
    {
        spelledFolderOf_.clear();
        for (const ManifestText& folder : manifest.folders)
            spelledFolderOf_.push_back(SpelledFolderOf(folder));

        // Every name folded and hashed first, so the lookups can be fetched ahead.
        lookups_.clear();
        folded_.clear();
        for (const ManifestEntry& entry : manifest.entries) {
            if (entry.removed)
                continue;
            const std::uint32_t spelled = spelledFolderOf_[entry.folder];
            const std::uint32_t folder = spelledFolders_[spelled].folded;
            const std::size_t at = folded_.size();
            AppendFolded(entry.name, folded_);
            lookups_.push_back(Lookup{HashOf(std::string_view(folded_).substr(at), folder), at, folder, spelled, &entry});
        }

        constexpr std::size_t kAhead = 4;  // lookups between two steps of a prefetch
        for (std::size_t i = 0; i < lookups_.size(); ++i) {
            if (i + 3 * kAhead < lookups_.size())
                table_.PrefetchSlot(lookups_[i + 3 * kAhead].hash);
            if (i + 2 * kAhead < lookups_.size())
                table_.PrefetchFile(lookups_[i + 2 * kAhead].hash);
            if (i + kAhead < lookups_.size())
                table_.PrefetchName(lookups_[i + kAhead].hash);
            Add(mod, lookups_[i]);
        }
        runs_.push_back(ModRun{mod, heldFiles_.size()});
    }

    // `selected` has one flag per mod; with any set, only the files that
    // involve a selected mod are listed.
    ConflictReport Report(const std::vector<bool>& selected) const;

private:
    // One entry of the manifest being added, folded and hashed.
    struct Lookup {
        std::uint64_t hash;
        std::size_t foldedAt;  // in folded_
        std::uint32_t folder, spelledFolder;
        const ManifestEntry* entry;
    };

    void Add(std::size_t mod, const Lookup& lookup)
    {
        const ManifestEntry& entry = *lookup.entry;
        const std::string_view folded(folded_.data() + lookup.foldedAt, 2 * entry.name.length);
        const std::uint32_t index = table_.Find(lookup.hash, lookup.folder, folded, entry.name);
        GameFile& file = table_.files()[index];
        file.spelledFolder = lookup.spelledFolder;
        const Copy copy{entry.crc, entry.size};
        if (file.lastMod == mod) {  // listed twice in one manifest: the later entry counts
            file.last = copy;
            if (file.holders == 1)
                file.first = copy;
            return;
        }
        if (file.holders == 0)
            file.first = copy;
        else
            file.sameBeforeLast = file.sameBeforeLast && file.last == file.first;
        file.last = copy;
        file.lastMod = static_cast<std::uint32_t>(mod);
        ++file.holders;
        heldFiles_.push_back(index);
    }

    std::uint32_t SpelledFolderOf(const ManifestText& folder)
    {
        const std::string bytes(reinterpret_cast<const char*>(folder.units), 2 * folder.length);
        const auto spelled = spellingIds_.find(bytes);
        if (spelled != spellingIds_.end())
            return spelled->second;
        std::string foldedPath;
        AppendFolded(folder, foldedPath);
        const auto folded = foldedIds_.emplace(foldedPath, static_cast<std::uint32_t>(foldedFolders_.size()));
        if (folded.second)
            foldedFolders_.push_back(foldedPath);
        const auto id = static_cast<std::uint32_t>(spelledFolders_.size());
        spelledFolders_.push_back(SpelledFolder{bytes, folded.first->second});
        spellingIds_.emplace(bytes, id);
        return id;
    }

    FileTable table_;
    std::vector<std::uint32_t> heldFiles_;  // the files each mod holds, mod after mod
    struct ModRun {
        std::size_t mod, end;  // its files end before heldFiles_[end]
    };
    std::vector<ModRun> runs_;
    std::unordered_map<std::string, std::uint32_t> spellingIds_, foldedIds_;
    std::vector<SpelledFolder> spelledFolders_;
    std::vector<std::string> foldedFolders_;
    std::vector<std::uint32_t> spelledFolderOf_;  // per folder of the manifest being added
    std::vector<Lookup> lookups_;                 // per entry of the manifest being added
    std::string folded_;                          // their folded names
};

// A path's folded UTF-16 units as big-endian bytes, so that memcmp orders
// paths as their code units do.
std::string SortKey(std::string_view foldedFolder, std::string_view foldedName)
{
    std::string key;
    key.reserve(foldedFolder.size() + foldedName.size());
    for (std::string_view part : {foldedFolder, foldedName})
        for (std::size_t i = 0; i + 1 < part.size(); i += 2) {
            key.push_back(part[i + 1]);
            key.push_back(part[i]);
        }
    return key;
}

ConflictReport ConflictFinder::Report(const std::vector<bool>& selected) const
{
    const std::vector<GameFile>& files = table_.files();
    const bool anySelected = std::find(selected.begin(), selected.end(), true) != selected.end();

    // The mods that hold each file, grouped by file, still in load order (a
    // counting sort).
    std::vector<std::size_t> start(files.size() + 1, 0);
    for (std::uint32_t file : heldFiles_)
        ++start[file + 1];
    for (std::size_t f = 0; f < files.size(); ++f)
        start[f + 1] += start[f];
    std::vector<std::uint32_t> holders(heldFiles_.size());
    {
        std::vector<std::size_t> next(start.begin(), start.end() - 1);
        std::size_t held = 0;
        for (const ModRun& run : runs_)
            for (; held < run.end; ++held)
                holders[next[heldFiles_[held]]++] = static_cast<std::uint32_t>(run.mod);
    }

    ConflictReport report;
    std::vector<std::string> keys;
    std::vector<bool> involved(selected.size(), false);
    for (std::size_t f = 0; f < files.size(); ++f) {
        const GameFile& file = files[f];
        if (file.holders < 2)
            continue;
        FileConflict conflict;
        bool touchesSelection = false;
        conflict.identical = file.Identical();
        conflict.overridden.assign(holders.begin() + start[f], holders.begin() + start[f + 1] - 1);
        conflict.winner = holders[start[f + 1] - 1];
        for (std::size_t h = start[f]; h < start[f + 1]; ++h)
            touchesSelection = touchesSelection || selected[holders[h]];
        if (anySelected && !touchesSelection)
            continue;
        const SpelledFolder& folder = spelledFolders_[file.spelledFolder];
        conflict.path = JoinedPath(ManifestText{reinterpret_cast<const unsigned char*>(folder.bytes.data()),
                                                folder.bytes.size() / 2},
                                   table_.Spelling(file));
        if (!conflict.identical) {
            involved[conflict.winner] = true;
            for (std::size_t mod : conflict.overridden)
                involved[mod] = true;
        }
        keys.push_back(SortKey(foldedFolders_[folder.folded], table_.FoldedName(file)));
        report.conflicts.push_back(std::move(conflict));
    }
    report.modsInConflict = static_cast<std::size_t>(std::count(involved.begin(), involved.end(), true));

    // Real conflicts first, then identical copies; each by path.
    std::vector<std::size_t> order(report.conflicts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
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

}  // namespace

ConflictReport FindConflicts(const std::vector<ModManifest>& mods)
{
    ConflictFinder finder;
    std::vector<bool> selected(mods.size());
    for (std::size_t m = 0; m < mods.size(); ++m) {
        selected[m] = mods[m].selected;
        if (mods[m].enabled && mods[m].manifest)
            finder.AddMod(m, *mods[m].manifest);
    }
    return finder.Report(selected);
}

ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows)
{
    ConflictFinder finder;
    std::vector<bool> selected(rows.size());
    std::vector<UncheckedMod> unchecked;
    std::vector<unsigned char> bytes;  // one buffer and one manifest for all, reused
    Manifest manifest;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        selected[i] = rows[i].selected;
        if (!rows[i].enabled)
            continue;  // the game does not load it
        const std::wstring path = platform::JoinPath(folder, CompanionName(rows[i].name));
        const platform::FsStatus read = fileSystem.ReadWholeFile(path, kMaxManifestBytes, bytes);
        if (!read.ok())
            unchecked.push_back(UncheckedMod{i, platform::IsNotFound(read) ? UncheckedReason::NoManifest
                                                                           : UncheckedReason::Unreadable, read});
        else if (!ParseManifestInto(bytes.data(), bytes.size(), manifest))
            unchecked.push_back(UncheckedMod{i, UncheckedReason::Malformed, {}});
        else
            finder.AddMod(i, manifest);
    }
    ConflictReport report = finder.Report(selected);
    report.unchecked = std::move(unchecked);
    return report;
}

}  // namespace mods
