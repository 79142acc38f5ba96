#include "mods/Conflicts.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "mods/ModFile.h"
#include "mods/NameTable.h"
#include "platform/Paths.h"

namespace mods {
namespace {

// The largest manifest read; real ones are a few hundred kilobytes.
constexpr std::size_t kMaxManifestBytes = 256u << 20;
constexpr std::uint32_t kNone = NameTable::kNone;

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

// A mod's copy of a game file, as far as conflicts go.
struct Copy {
    std::uint32_t crc = 0;
    std::uint32_t size = 0;
    bool operator==(const Copy&) const = default;
};

// A game file: every spelling of its path, compared folded, held by at
// least one mod.
struct GameFile {
    std::uint32_t foldedPath = kNone;    // its entry in the folded paths
    std::uint32_t lastSpelling = kNone;  // its last holder's entry in the spellings
    std::uint32_t holders = 0;           // mods that hold it
    std::uint32_t lastMod = kNone;
    Copy first{}, last{};                // the copies of the first and the last mod so far
    bool sameBeforeLast = true;          // every copy before the last one is the same as the first

    bool Identical() const { return sameBeforeLast && last == first; }
};

std::string_view BytesOf(const ManifestText& text)
{
    return {reinterpret_cast<const char*>(text.units), 2 * text.length};
}

ManifestText TextOf(std::string_view bytes)
{
    return ManifestText{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size() / 2};
}

// Gathers the mods' files one manifest at a time, in load order, keeping
// only what the report needs: a manifest's bytes need not outlive its turn.
// A path is looked up as it is spelled, and folded only when that spelling
// is new; most mods spell a game file as the others do.
class ConflictFinder {
public:
    void AddMod(std::size_t mod, const Manifest& manifest)
    {
        spelledFolderOf_.clear();
        for (const ManifestText& folder : manifest.folders)
            spelledFolderOf_.push_back(SpelledFolderOf(folder));

        // Every name hashed first, so the lookups can be fetched ahead.
        lookups_.clear();
        for (const ManifestEntry& entry : manifest.entries)
            if (!entry.removed)
                lookups_.push_back(Lookup{NameTable::HashOf(spelledFolderOf_[entry.folder], BytesOf(entry.name)), &entry});

        constexpr std::size_t kAhead = 4;  // lookups between two steps of a prefetch
        for (std::size_t i = 0; i < lookups_.size(); ++i) {
            if (i + 3 * kAhead < lookups_.size())
                spellings_.PrefetchSlot(lookups_[i + 3 * kAhead].hash);
            if (i + 2 * kAhead < lookups_.size())
                spellings_.PrefetchEntry(lookups_[i + 2 * kAhead].hash);
            if (i + kAhead < lookups_.size())
                if (const NameTable::Entry* likely = spellings_.Candidate(lookups_[i + kAhead].hash)) {
                    spellings_.PrefetchName(*likely);
                    if (likely->value != kNone)
                        NameTable::Prefetch(&files_[likely->value]);
                }
            Add(mod, lookups_[i]);
        }
        runs_.push_back(ModRun{mod, heldFiles_.size()});
    }

    // `selected` has one flag per mod; with any set, only the files that
    // involve a selected mod are listed.
    ConflictReport Report(const std::vector<bool>& selected) const;

private:
    struct Lookup {
        std::uint64_t hash;  // of the name as spelled, in its folder as spelled
        const ManifestEntry* entry;
    };

    void Add(std::size_t mod, const Lookup& lookup)
    {
        const ManifestEntry& entry = *lookup.entry;
        const std::uint32_t folder = spelledFolderOf_[entry.folder];
        const std::uint32_t spelling = spellings_.Find(lookup.hash, folder, BytesOf(entry.name));
        if (spellings_[spelling].value == kNone)
            spellings_[spelling].value = FileSpelled(folder, entry.name);
        const std::uint32_t index = spellings_[spelling].value;
        GameFile& file = files_[index];
        file.lastSpelling = spelling;
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

    // The game file of a spelling not seen before, added when it is new.
    std::uint32_t FileSpelled(std::uint32_t spelledFolder, const ManifestText& name)
    {
        const std::uint32_t folder = spelledFolders_[spelledFolder].value;
        folded_.clear();
        AppendFolded(name, folded_);
        const std::uint32_t path = foldedPaths_.Find(NameTable::HashOf(folder, folded_), folder, folded_);
        if (foldedPaths_[path].value == kNone) {
            foldedPaths_[path].value = static_cast<std::uint32_t>(files_.size());
            files_.push_back(GameFile{.foldedPath = path});
        }
        return foldedPaths_[path].value;
    }

    // Folders are few: each spelling maps to the number of its folded path.
    std::uint32_t SpelledFolderOf(const ManifestText& folder)
    {
        const std::string_view bytes = BytesOf(folder);
        const std::uint32_t spelled = spelledFolders_.Find(NameTable::HashOf(0, bytes), 0, bytes);
        if (spelledFolders_[spelled].value == kNone) {
            folded_.clear();
            AppendFolded(folder, folded_);
            const std::uint32_t folded = foldedFolders_.Find(NameTable::HashOf(0, folded_), 0, folded_);
            spelledFolders_[spelled].value = folded;
        }
        return spelled;
    }

    NameTable spelledFolders_;  // folder as spelled -> its entry in foldedFolders_
    NameTable foldedFolders_;
    NameTable spellings_;       // (folder as spelled, name as spelled) -> game file
    NameTable foldedPaths_;     // (folded folder, folded name) -> game file
    std::vector<GameFile> files_;
    std::vector<std::uint32_t> heldFiles_;  // the files each mod holds, mod after mod
    struct ModRun {
        std::size_t mod, end;  // its files end before heldFiles_[end]
    };
    std::vector<ModRun> runs_;
    std::vector<std::uint32_t> spelledFolderOf_;  // per folder of the manifest being added
    std::vector<Lookup> lookups_;                 // per entry of the manifest being added
    std::string folded_;
};

// Appends a path's folded UTF-16 units as big-endian bytes, so that
// memcmp orders paths as their code units do.
void AppendSortKey(std::string_view foldedFolder, std::string_view foldedName, std::string& keys)
{
    for (std::string_view part : {foldedFolder, foldedName})
        for (std::size_t i = 0; i + 1 < part.size(); i += 2) {
            keys.push_back(part[i + 1]);
            keys.push_back(part[i]);
        }
}

ConflictReport ConflictFinder::Report(const std::vector<bool>& selected) const
{
    const bool anySelected = std::find(selected.begin(), selected.end(), true) != selected.end();

    // The mods that hold each file, grouped by file, still in load order (a
    // counting sort).
    std::vector<std::size_t> start(files_.size() + 1, 0);
    for (std::uint32_t file : heldFiles_)
        ++start[file + 1];
    for (std::size_t f = 0; f < files_.size(); ++f)
        start[f + 1] += start[f];
    std::vector<std::uint32_t> holders(heldFiles_.size());
    {
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        std::size_t held = 0;
        for (const ModRun& run : runs_)
            for (; held < run.end; ++held)
                holders[next[heldFiles_[held]]++] = static_cast<std::uint32_t>(run.mod);
    }

    // The conflicts to list, built in the files' order, which is the order
    // of their data in memory; their sort keys in one buffer.
    ConflictReport report;
    std::vector<std::size_t> keyAt;
    std::string keys;
    std::vector<bool> involved(selected.size(), false);
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const GameFile& file = files_[f];
        if (file.holders < 2)
            continue;
        const auto first = holders.begin() + static_cast<std::ptrdiff_t>(start[f]);
        const auto last = holders.begin() + static_cast<std::ptrdiff_t>(start[f + 1] - 1);
        if (anySelected && std::none_of(first, last + 1, [&](std::uint32_t mod) { return selected[mod]; }))
            continue;
        FileConflict& conflict = report.conflicts.emplace_back();
        const NameTable::Entry& spelling = spellings_[file.lastSpelling];
        conflict.path = JoinedPath(TextOf(spelledFolders_.NameOf(spelledFolders_[spelling.folder])),
                                   TextOf(spellings_.NameOf(spelling)));
        conflict.winner = *last;
        conflict.overridden.assign(first, last);
        conflict.identical = file.Identical();
        if (!conflict.identical)
            std::for_each(first, last + 1, [&](std::uint32_t mod) { involved[mod] = true; });
        const NameTable::Entry& path = foldedPaths_[file.foldedPath];
        keyAt.push_back(keys.size());
        AppendSortKey(foldedFolders_.NameOf(foldedFolders_[path.folder]), foldedPaths_.NameOf(path), keys);
    }
    keyAt.push_back(keys.size());
    report.modsInConflict = static_cast<std::size_t>(std::count(involved.begin(), involved.end(), true));

    // Real conflicts first, then identical copies; each by path.
    const auto key = [&](std::size_t i) { return std::string_view(keys).substr(keyAt[i], keyAt[i + 1] - keyAt[i]); };
    std::vector<std::size_t> order(report.conflicts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (report.conflicts[a].identical != report.conflicts[b].identical)
            return !report.conflicts[a].identical;
        return key(a) < key(b);
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
