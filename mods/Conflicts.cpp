#include "mods/Conflicts.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "mods/ModFile.h"
#include "mods/NameTable.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"

namespace mods {
namespace {

constexpr std::uint32_t kNone = kNoEntry;
// A read buffer larger than this is given back once its manifest is done:
// one large manifest must not keep its memory for the rest of the check.
constexpr std::size_t kKeptBufferBytes = 4u << 20;
constexpr std::size_t kKeptFolderRecords = 1u << 16;
// The game's root in the folder numbering; folders_'s entry i is folder i + 1.
constexpr std::uint32_t kRoot = 0;

bool IsSeparator(char16_t unit) { return unit == u'/' || unit == u'\\'; }

// Units [from, to) of a text as paths are compared, appended as UTF-16LE
// bytes: letters upper-cased as Windows folds them when it compares names.
// Folded bytes compare with memcmp and hash a word at a time. Returns the
// position after the last separator among them, or `from`.
std::size_t AppendFolded(const ManifestText& text, std::size_t from, std::size_t to, std::string& folded)
{
    const std::size_t at = folded.size();
    folded.resize(at + 2 * (to - from));
    char* out = folded.data() + at;
    std::size_t afterSeparator = from;
    for (std::size_t i = from; i < to; ++i, out += 2) {
        unsigned char low = text.units[2 * i];
        unsigned char high = text.units[2 * i + 1];
        if (high == 0 && low < 0x80) {
            if (low >= 'a' && low <= 'z')
                low = static_cast<unsigned char>(low - ('a' - 'A'));
            else if (low == '/' || low == '\\')
                afterSeparator = i + 1;
        } else {
            const auto unit = static_cast<char16_t>(platform::UpperCaseOf(static_cast<wchar_t>(text[i])));
            low = static_cast<unsigned char>(unit & 0xFF);
            high = static_cast<unsigned char>(unit >> 8);
        }
        out[0] = static_cast<char>(low);
        out[1] = static_cast<char>(high);
    }
    return afterSeparator;
}

std::string_view BytesOf(const ManifestText& text)
{
    return {reinterpret_cast<const char*>(text.units), 2 * text.length};
}

char16_t UnitAt(std::string_view bytes, std::size_t i)
{
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
}

// A mod's copy of a game file, as far as conflicts go.
struct Copy {
    std::uint32_t crc = 0;
    std::uint32_t size = 0;
    bool operator==(const Copy&) const = default;
};

// A game file held by at least one mod.
struct GameFile {
    Copy first{}, last{};                 // the copies of the first and the last mod so far
    std::uint32_t holders = 0;            // mods that hold it
    std::uint32_t lastMod = kNone;
    std::uint32_t spelledFolder = kNone;  // the last holder's spelling: its folder in spelledFolders_,
    std::uint32_t spelledNameAt = 0;      // its name in spelledNames_
    std::uint16_t spelledNameUnits = 0;
    bool sameBeforeLast = true;           // every copy before the last one is the same as the first

    bool Identical() const { return sameBeforeLast && last == first; }
};

struct NoValue {};
struct FolderNumber {
    std::uint32_t number = kNone;
};

// Gathers the mods' files one manifest at a time, in load order, keeping
// only what the report needs: a manifest's bytes need not outlive its turn.
// A file is found by its folder, one entry per folder level (so that every
// split of a path between folder and name finds the same folder), and its
// folded name in that folder.
class ConflictFinder final : public ManifestVisitor {
public:
    void BeginMod(std::size_t mod)
    {
        mod_ = static_cast<std::uint32_t>(mod);
        folderRecords_.clear();
    }
    void Folder(const ManifestText& path) override { folderRecords_.push_back(FolderRecord{path, kNone, kNone}); }
    void File(const ManifestEntry& entry) override
    {
        if (entry.removed)
            return;
        const ManifestText& name = entry.name;
        const auto nameAt = static_cast<std::uint32_t>(pendingNames_.size());
        // The name's last level is the file; any before it are folders below the entry's folder.
        const std::size_t leaf = AppendFolded(name, 0, name.length, pendingNames_);
        if (leaf == name.length) {  // a folder: the reader leaves these out
            pendingNames_.resize(nameAt);
            return;
        }
        FolderRecord& record = Resolved(folderRecords_[entry.folder]);
        std::uint32_t folder = record.folder;
        if (leaf > 0) {
            folder = FolderBelow(folder, name, 0, leaf);
            pendingNames_.erase(nameAt, 2 * leaf);
        }

        Lookup& lookup = pending_[pendingCount_++];
        lookup.nameAt = nameAt;
        lookup.nameBytes = static_cast<std::uint32_t>(pendingNames_.size()) - nameAt;
        lookup.hash = Files::HashOf(folder, PendingName(lookup));
        lookup.folder = folder;
        lookup.copy = Copy{entry.crc, entry.size};
        lookup.spelledFolder = record.spelled;
        lookup.spelledName = name;
        if (pendingCount_ == kPending)
            Flush();
    }
    void EndMod()
    {
        Flush();
        runs_.push_back(ModRun{mod_, heldFiles_.size()});
        if (folderRecords_.capacity() > kKeptFolderRecords)
            folderRecords_ = {};
    }

    // `selected` has one flag per mod; with any set, only the files that
    // involve a selected mod are listed.
    ConflictReport Report(const std::vector<bool>& selected);

private:
    using Folders = NameTable<NoValue>;           // (folder above, folded name of one level) -> folder
    using Files = NameTable<GameFile>;            // (folder, folded name) -> game file
    using SpelledFolders = NameTable<FolderNumber>;  // a folder's path as spelled -> its folder

    // A folder of the manifest being added, resolved when a file needs it.
    struct FolderRecord {
        ManifestText path;
        std::uint32_t folder, spelled;
    };
    struct Lookup {
        std::uint64_t hash;  // of the folded name, in its folder
        std::uint32_t folder, nameAt, nameBytes;
        Copy copy;
        std::uint32_t spelledFolder;
        ManifestText spelledName;
    };
    struct ModRun {
        std::uint32_t mod;
        std::size_t end;  // its files end before heldFiles_[end]
    };

    static std::uint32_t FolderNumberOf(std::uint32_t entry) { return entry + 1; }
    std::string_view PendingName(const Lookup& lookup) const
    {
        return std::string_view(pendingNames_).substr(lookup.nameAt, lookup.nameBytes);
    }

    FolderRecord& Resolved(FolderRecord& record)
    {
        if (record.folder != kNone)
            return record;
        const std::string_view bytes = BytesOf(record.path);
        record.spelled = spelledFolders_.Find(SpelledFolders::HashOf(0, bytes), 0, bytes);
        if (spelledFolders_[record.spelled].value.number == kNone) {
            const std::uint32_t folder = FolderBelow(kRoot, record.path, 0, record.path.length);
            spelledFolders_[record.spelled].value.number = folder;
        }
        record.folder = spelledFolders_[record.spelled].value.number;
        return record;
    }

    // The folder that units [from, to) of `text` name below `folder`, each
    // level added when it is new; empty levels (repeated separators) count
    // for nothing.
    std::uint32_t FolderBelow(std::uint32_t folder, const ManifestText& text, std::size_t from, std::size_t to)
    {
        while (from < to) {
            std::size_t end = from;
            while (end < to && !IsSeparator(text[end]))
                ++end;
            if (end > from) {
                level_.clear();
                AppendFolded(text, from, end, level_);
                folder = FolderNumberOf(folders_.Find(Folders::HashOf(folder, level_), folder, level_));
            }
            from = end + 1;
        }
        return folder;
    }

    // The pending lookups, fetched ahead a few at a time so that their
    // cache misses overlap.
    void Flush()
    {
        constexpr std::size_t kAhead = 4;  // lookups between two steps of a prefetch
        for (std::size_t i = 0; i < pendingCount_; ++i) {
            if (i + 3 * kAhead < pendingCount_)
                files_.PrefetchSlot(pending_[i + 3 * kAhead].hash);
            if (i + 2 * kAhead < pendingCount_)
                files_.PrefetchEntry(pending_[i + 2 * kAhead].hash);
            if (i + kAhead < pendingCount_)
                if (const Files::Entry* likely = files_.Candidate(pending_[i + kAhead].hash))
                    files_.PrefetchName(*likely);
            Add(pending_[i]);
        }
        pendingCount_ = 0;
        pendingNames_.clear();
    }

    void Add(const Lookup& lookup)
    {
        const std::uint32_t index = files_.Find(lookup.hash, lookup.folder, PendingName(lookup));
        GameFile& file = files_[index].value;
        Spell(file, lookup.spelledFolder, lookup.spelledName);
        if (file.lastMod == mod_) {  // listed twice in one manifest: the later entry counts
            file.last = lookup.copy;
            if (file.holders == 1)
                file.first = lookup.copy;
            return;
        }
        if (file.holders == 0)
            file.first = lookup.copy;
        else
            file.sameBeforeLast = file.sameBeforeLast && file.last == file.first;
        file.last = lookup.copy;
        file.lastMod = mod_;
        ++file.holders;
        heldFiles_.push_back(index);
    }

    // Keeps the latest holder's spelling; most mods spell a file as the one before did.
    void Spell(GameFile& file, std::uint32_t folder, const ManifestText& name)
    {
        const std::string_view bytes = BytesOf(name);
        if (file.spelledFolder == folder && file.spelledNameUnits == name.length &&
            std::string_view(spelledNames_).substr(file.spelledNameAt, bytes.size()) == bytes)
            return;
        if (bytes.size() > kNone - spelledNames_.size())
            throw std::bad_alloc();
        file.spelledFolder = folder;
        file.spelledNameAt = static_cast<std::uint32_t>(spelledNames_.size());
        file.spelledNameUnits = static_cast<std::uint16_t>(name.length);
        spelledNames_.append(bytes);
    }

    std::vector<std::uint32_t> PathRanks(const std::vector<std::uint32_t>& listed) const;

    Folders folders_;
    Files files_;
    SpelledFolders spelledFolders_;
    std::string spelledNames_;              // UTF-16LE
    std::vector<std::uint32_t> heldFiles_;  // the files each mod holds, mod after mod
    std::vector<ModRun> runs_;

    std::uint32_t mod_ = 0;                    // the mod being added
    std::vector<FolderRecord> folderRecords_;  // its manifest's folders
    static constexpr std::size_t kPending = 64;
    Lookup pending_[kPending];
    std::size_t pendingCount_ = 0;
    std::string pendingNames_;  // their folded names
    std::string level_;
};

// The listed files' places in the order of their whole folded paths: a
// walk of the folders in which each folder's files and folders come in the
// order of their names, a folder's name followed by "/" (so "A.DAT" comes
// before folder "A", and folder "A" before "A.B/...", as the joined paths
// compare). No path is ever put together, however deep.
std::vector<std::uint32_t> ConflictFinder::PathRanks(const std::vector<std::uint32_t>& listed) const
{
    // The folders on the way to a listed file.
    std::vector<bool> onTheWay(folders_.size(), false);
    std::size_t folderItems = 0;
    for (std::uint32_t file : listed)
        for (std::uint32_t up = files_[file].folder; up != kRoot && !onTheWay[up - 1]; up = folders_[up - 1].folder) {
            onTheWay[up - 1] = true;
            ++folderItems;
        }

    // What each folder holds, by folder number: items [start[f], start[f + 1]).
    struct Item {
        std::uint32_t index;
        bool isFolder;
    };
    std::vector<std::uint32_t> start(folders_.size() + 2, 0);
    for (std::uint32_t file : listed)
        ++start[files_[file].folder + 1];
    for (std::uint32_t f = 0; f < folders_.size(); ++f)
        if (onTheWay[f])
            ++start[folders_[f].folder + 1];
    for (std::size_t f = 1; f < start.size(); ++f)
        start[f] += start[f - 1];
    std::vector<Item> items(listed.size() + folderItems);
    {
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        for (std::uint32_t file : listed)
            items[next[files_[file].folder]++] = Item{file, false};
        for (std::uint32_t f = 0; f < folders_.size(); ++f)
            if (onTheWay[f])
                items[next[folders_[f].folder]++] = Item{f, true};
    }
    const auto nameOf = [&](const Item& item) {
        return item.isFolder ? folders_.NameOf(folders_[item.index]) : files_.NameOf(files_[item.index]);
    };
    const auto before = [&](const Item& a, const Item& b) {
        const std::string_view x = nameOf(a), y = nameOf(b);
        const std::size_t bytes = std::min(x.size(), y.size());
        // The first unit that differs, or the end of the shorter name.
        const std::size_t unit = static_cast<std::size_t>(std::mismatch(x.begin(), x.begin() + bytes, y.begin()).first - x.begin()) / 2;
        // After a file's name comes nothing, after a folder's "/".
        const auto at = [&](std::string_view name, bool isFolder) {
            return unit < name.size() / 2 ? int{UnitAt(name, unit)} : isFolder ? int{u'/'} : -1;
        };
        return at(x, a.isFolder) < at(y, b.isFolder);
    };
    for (std::size_t f = 0; f + 1 < start.size(); ++f)
        std::sort(items.begin() + start[f], items.begin() + start[f + 1], before);

    std::vector<std::uint32_t> rankOf(files_.size(), kNone);
    std::uint32_t rank = 0;
    struct Level {
        std::uint32_t next, end;
    };
    std::vector<Level> walk{{start[kRoot], start[kRoot + 1]}};
    while (!walk.empty()) {
        Level& level = walk.back();
        if (level.next == level.end) {
            walk.pop_back();
            continue;
        }
        const Item item = items[level.next++];
        if (item.isFolder)
            walk.push_back(Level{start[FolderNumberOf(item.index)], start[FolderNumberOf(item.index) + 1]});
        else
            rankOf[item.index] = rank++;
    }
    std::vector<std::uint32_t> ranks;
    ranks.reserve(listed.size());
    for (std::uint32_t file : listed)
        ranks.push_back(rankOf[file]);
    return ranks;
}

ConflictReport ConflictFinder::Report(const std::vector<bool>& selected)
{
    const bool anySelected = std::find(selected.begin(), selected.end(), true) != selected.end();

    // The mods that hold each file held twice or more, grouped by file,
    // still in load order (a counting sort).
    std::vector<std::uint32_t> next(files_.size(), kNone);  // where its next holder goes
    std::size_t total = 0;
    for (std::uint32_t f = 0; f < files_.size(); ++f)
        if (files_[f].value.holders >= 2) {
            next[f] = static_cast<std::uint32_t>(total);
            total += files_[f].value.holders;
        }
    if (total >= kNone)
        throw std::bad_alloc();
    std::vector<std::uint32_t> holders(total);
    std::size_t held = 0;
    for (const ModRun& run : runs_)
        for (; held < run.end; ++held)
            if (const std::uint32_t file = heldFiles_[held]; next[file] != kNone)
                holders[next[file]++] = run.mod;
    heldFiles_ = {};

    // The conflicts to list, in the files' order; the winners' spellings
    // copied into the report, each folder's once.
    ConflictReport report;
    std::vector<std::uint32_t> listed;
    std::vector<std::uint32_t> folderAt(spelledFolders_.size(), kNone);
    std::vector<bool> involved(selected.size(), false);
    const auto append = [&](std::string_view bytes) {
        if (bytes.size() > kNone - report.spellings.size())
            throw std::bad_alloc();
        const auto at = static_cast<std::uint32_t>(report.spellings.size());
        report.spellings.append(bytes);
        return at;
    };
    for (std::uint32_t f = 0; f < files_.size(); ++f) {
        const GameFile& file = files_[f].value;
        if (file.holders < 2)
            continue;
        const auto first = holders.begin() + static_cast<std::ptrdiff_t>(next[f] - file.holders);
        const auto last = holders.begin() + static_cast<std::ptrdiff_t>(next[f] - 1);
        if (anySelected && std::none_of(first, last + 1, [&](std::uint32_t mod) { return selected[mod]; }))
            continue;
        FileConflict& conflict = report.conflicts.emplace_back();
        conflict.winner = *last;
        conflict.identical = file.Identical();
        conflict.overriddenAt = static_cast<std::uint32_t>(report.overridden.size());
        conflict.overriddenCount = file.holders - 1;
        report.overridden.insert(report.overridden.end(), first, last);
        const std::string_view folder = spelledFolders_.NameOf(spelledFolders_[file.spelledFolder]);
        if (folderAt[file.spelledFolder] == kNone)
            folderAt[file.spelledFolder] = append(folder);
        conflict.folderAt = folderAt[file.spelledFolder];
        conflict.folderUnits = static_cast<std::uint16_t>(folder.size() / 2);
        conflict.nameAt = append(std::string_view(spelledNames_).substr(file.spelledNameAt, 2 * std::size_t{file.spelledNameUnits}));
        conflict.nameUnits = file.spelledNameUnits;
        if (!conflict.identical)
            std::for_each(first, last + 1, [&](std::uint32_t mod) { involved[mod] = true; });
        listed.push_back(f);
    }
    report.modsInConflict = static_cast<std::size_t>(std::count(involved.begin(), involved.end(), true));

    // Real conflicts first, then identical copies; each by path.
    const std::vector<std::uint32_t> rank = PathRanks(listed);
    std::vector<std::size_t> order(report.conflicts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (report.conflicts[a].identical != report.conflicts[b].identical)
            return !report.conflicts[a].identical;
        return rank[a] < rank[b];
    });
    std::vector<FileConflict> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order)
        sorted.push_back(report.conflicts[i]);
    report.conflicts = std::move(sorted);
    return report;
}

}  // namespace

std::wstring ConflictReport::PathOf(const FileConflict& conflict) const
{
    const auto text = [&](std::uint32_t at, std::uint16_t units) {
        return ManifestText{reinterpret_cast<const unsigned char*>(spellings.data()) + at, units};
    };
    return JoinedPath(text(conflict.folderAt, conflict.folderUnits), text(conflict.nameAt, conflict.nameUnits));
}

std::span<const std::uint32_t> ConflictReport::Overridden(const FileConflict& conflict) const
{
    return std::span<const std::uint32_t>(overridden).subspan(conflict.overriddenAt, conflict.overriddenCount);
}

ConflictReport FindConflicts(const std::vector<ModManifest>& mods)
{
    ConflictFinder finder;
    std::vector<bool> selected(mods.size());
    for (std::size_t m = 0; m < mods.size(); ++m) {
        selected[m] = mods[m].selected;
        if (!mods[m].enabled || !mods[m].manifest)
            continue;
        finder.BeginMod(m);
        for (const ManifestText& folder : mods[m].manifest->folders)
            finder.Folder(folder);
        for (const ManifestEntry& entry : mods[m].manifest->entries)
            finder.File(entry);
        finder.EndMod();
    }
    return finder.Report(selected);
}

ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows, const StepProgress& progress)
{
    ConflictFinder finder;
    std::vector<bool> selected(rows.size());
    std::vector<UncheckedMod> unchecked;
    std::vector<unsigned char> bytes;  // one buffer for all, reused while it is small
    for (std::size_t i = 0; i < rows.size(); ++i) {
        selected[i] = rows[i].selected;
        if (progress)
            progress(i, rows.size());
        if (!rows[i].enabled)
            continue;  // the game does not load it
        const std::wstring path = platform::JoinPath(folder, CompanionName(rows[i].name));
        const platform::FsStatus read = fileSystem.ReadWholeFile(path, kMaxManifestBytes, bytes);
        if (!read.ok()) {
            const UncheckedReason reason = platform::IsNotFound(read) ? UncheckedReason::NoManifest
                                         : platform::IsTooLarge(read) ? UncheckedReason::TooLarge
                                                                      : UncheckedReason::Unreadable;
            unchecked.push_back(UncheckedMod{i, reason, read});
        } else if (!IsWellFormedManifest(bytes.data(), bytes.size())) {
            unchecked.push_back(UncheckedMod{i, UncheckedReason::Malformed, {}});
        } else {
            // Read twice: once to know it is whole, then into the finder,
            // which so never takes in part of a bad manifest.
            finder.BeginMod(i);
            ReadManifest(bytes.data(), bytes.size(), finder);
            finder.EndMod();
        }
        if (bytes.capacity() > kKeptBufferBytes)
            bytes = {};
    }
    ConflictReport report = finder.Report(selected);
    report.unchecked = std::move(unchecked);
    return report;
}

}  // namespace mods
