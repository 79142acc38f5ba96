#pragma once
// Which mods hold each game file, read once from their manifests; and, for
// any order of those mods, which one wins each file and what that makes of
// every mod, worked out again without reading a manifest. The window keeps
// one between moves; the conflict report is made from it.
//
// An index is a plain value built from a snapshot: the names of the mods and
// a file system to read their manifests through. It keeps no reference to
// either and shares nothing with anyone, so it may be built on a worker
// thread and handed to another; its const functions may run on several
// threads at once. A manifest caught half-written while it is read, or whose
// mod goes meanwhile, leaves that mod unchecked, as one that cannot be read.
// An analysis is a value too: each game file's winning row, read back
// through the index it came from, which refuses one made before a change.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "mods/BlockRuns.h"
#include "mods/Conflicts.h"
#include "mods/IntendedOverlaps.h"
#include "mods/NameTable.h"
#include "mods/StepProgress.h"
#include "platform/FileSystem.h"

namespace mods {

enum class ConflictMark {
    None,             // disabled, or no file another enabled mod holds otherwise
    Overrides,        // wins at least one file another enabled mod holds otherwise
    Overridden,       // a later mod wins at least one of its files
    Both,
    FullyOverridden,  // a later mod wins every one of its files: in this order it changes nothing
    Unchecked,        // its manifest could not be read (RowConflicts::reason)
    Unknown,          // a mod the index was not given: nothing is known yet
};

// What the analysis makes of one row. Files that are identical copies in
// every mod holding them, and the overlaps the player intends, count for
// nothing here.
struct RowConflicts {
    ConflictMark mark = ConflictMark::None;
    UncheckedReason reason = UncheckedReason::NoManifest;  // Unchecked: why
    platform::FsStatus status;                             // Unreadable: the system's reason
    std::size_t files = 0;            // game files in its manifest (disabled mods too)
    std::size_t overridingFiles = 0;  // files it wins against another mod's copy
    std::size_t overriddenFiles = 0;  // its files a later mod wins
};

// Another row a row overlaps with, and the files in question.
struct ModOverlap {
    std::size_t row = 0;
    std::size_t files = 0;
    bool intended = false;  // the player means the overriding one to win
    friend bool operator==(const ModOverlap&, const ModOverlap&) = default;
};

struct ModRelations {
    std::vector<ModOverlap> overrides;     // the rows it wins files of, by row
    std::vector<ModOverlap> overriddenBy;  // the rows winning files of it, by row
    friend bool operator==(const ModRelations&, const ModRelations&) = default;
};

// The outcome of one order: rows are those given to ConflictIndex::Analyse.
// What it holds per game file is the winner, so that the marks of an order
// cost two passes over the files held and no list of holders.
class ConflictAnalysis {
public:
    const std::vector<RowConflicts>& Rows() const { return rows_; }

private:
    friend class ConflictIndex;

    static constexpr std::uint8_t kIdentical = 1, kIntended = 2;
    // Inline, for most rows intend nothing: called once for every file a row loses.
    bool Intended(std::uint32_t overriding, std::uint32_t overridden) const
    {
        return intends_[overriding] && IntendedPair(overriding, overridden);
    }
    bool IntendedPair(std::uint32_t overriding, std::uint32_t overridden) const;
    // The file counts against the row: held by two or more, not identical copies.
    bool Differs(std::uint32_t file) const { return winner_[file] != kNoEntry && !(flags_[file] & kIdentical); }

    std::uint64_t indexStamp_ = 0;  // the index as it was analysed
    std::vector<RowConflicts> rows_;
    std::vector<bool> selected_;
    std::vector<std::uint32_t> modOf_;   // the index's mod of each row
    std::vector<std::uint32_t> taking_;  // the rows that take part, in load order
    std::vector<std::uint32_t> winner_;  // per game file: the row it comes from, kNoEntry unless two or more hold it
    std::vector<std::uint8_t> flags_;    // per game file held twice or more: kIdentical, kIntended
    std::vector<std::pair<std::uint32_t, std::uint32_t>> intended_;  // (overriding row, overridden row), sorted
    std::vector<bool> intends_;  // the row overrides some row on purpose
};

class ConflictIndex {
public:
    ConflictIndex();

    // Reads the manifests of the named mods (file names in `folder`,
    // enabled or not), each in place of what the index held for a mod of
    // that name. A manifest larger than kMaxManifestBytes is not read; one
    // that cannot be read, or is not whole, leaves its mod unchecked.
    // Throws std::bad_alloc when memory runs out. `progress` is told of
    // each mod as its manifest is read.
    void Read(platform::FileSystem& fileSystem, const std::wstring& folder, const std::vector<std::wstring>& names,
              const StepProgress& progress = {});
    // A mod from its manifest's bytes, which need not outlive the call.
    void Add(const std::wstring& name, const unsigned char* bytes, std::size_t length);
    // A mod from a parsed manifest.
    void Add(const std::wstring& name, const Manifest& manifest);
    // A mod whose manifest could not be read.
    void AddUnchecked(const std::wstring& name, UncheckedReason reason, platform::FsStatus status = {});
    // Forgets the mod of that name.
    void Remove(const std::wstring& name);

    // True when a mod of that exact name was given.
    bool Holds(const std::wstring& name) const;

    // The rows in load order. A row is the mod given under its exact name,
    // or else the one given under the same name with another extension (a
    // mod enabled or disabled since), when there is exactly one. Disabled
    // rows take no part.
    ConflictAnalysis Analyse(const std::vector<ListedModToCheck>& rows,
                             const std::vector<IntendedOverlap>& intended = {}) const;

    // These take an analysis of this index as it is: one of another index,
    // or made before the index changed, gives nothing.
    // The rows the row overrides and those overriding it; identical copies do not count.
    ModRelations RelationsOf(const ConflictAnalysis& analysis, std::size_t row) const;
    // The same for every row at once, in time in proportion to the files held.
    std::vector<ModRelations> AllRelations(const ConflictAnalysis& analysis) const;
    // The conflict report; with any row selected, only the files that
    // involve a selected row.
    ConflictReport Report(const ConflictAnalysis& analysis) const;
    // The folders that hold the row's files, `levels` deep (a file less
    // deep gives its own folder, one at the root none), as paths compare:
    // "MEDIA/UNITS". Sorted.
    std::vector<std::wstring> FoldersOf(const ConflictAnalysis& analysis, std::size_t row, std::size_t levels = 2) const;

private:
    struct Copy {
        std::uint32_t crc = 0;
        std::uint32_t size = 0;
        bool operator==(const Copy&) const = default;
    };
    struct Holding {
        std::uint32_t file;
        Copy copy;
    };
    // A file a mod spells otherwise than the file's first holder did.
    struct Spelling {
        std::uint32_t file;
        std::uint32_t folder;  // in spelledFolders_
        std::uint32_t nameAt;  // in spelledNames_
    };
    struct IndexedMod {
        std::wstring name;
        std::optional<UncheckedReason> unchecked;
        platform::FsStatus status;
        BlockRuns<Holding>::Run holdings;  // one per file it holds, in holdings_
        std::vector<Spelling> spellings;  // sorted by file
    };
    struct NoValue {};
    struct FolderNumber {
        std::uint32_t number = kNoEntry;
    };
    struct FileValue {
        std::uint32_t spelledFolder = kNoEntry;  // the first holder's spelling: its folder,
        std::uint32_t spelledNameAt = kNoEntry;  // and its name (kNoEntry: the folded name itself)
        std::uint32_t lastMod = kNoEntry;        // the mod that added it last
    };
    // The game's root in the numbering of folders; folders_'s entry i is folder i + 1.
    static constexpr std::uint32_t kRoot = 0;
    static std::uint32_t FolderNumberOf(std::uint32_t entry) { return entry + 1; }
    using Folders = NameTable<NoValue>;              // (folder above, folded name of one level) -> folder
    using Files = NameTable<FileValue>;              // (folder, folded name) -> game file
    using SpelledFolders = NameTable<FolderNumber>;  // a folder's path as spelled -> its folder

    class Builder;
    std::uint32_t NewMod(const std::wstring& name);
    void Changed();
    bool Analysed(const ConflictAnalysis& analysis) const { return analysis.indexStamp_ == stamp_; }
    std::vector<std::uint32_t> ModsOfRows(const std::vector<ListedModToCheck>& rows) const;
    std::vector<std::uint32_t> PathRanks(const std::vector<std::uint32_t>& listed) const;
    std::span<const Holding> HoldingsOf(std::uint32_t mod) const { return holdings_[mods_[mod].holdings]; }
    std::uint32_t AppendSpelling(const ManifestText& name);
    std::string_view SpelledName(std::uint32_t at) const;

    Folders folders_;
    Files files_;
    SpelledFolders spelledFolders_;
    std::string spelledNames_;  // each: two bytes of length in units, then UTF-16LE
    BlockRuns<Holding> holdings_;
    std::vector<IndexedMod> mods_;  // a mod given again takes a new place; its old one is left empty
    std::unordered_map<std::wstring, std::uint32_t> modByName_;
    std::uint64_t stamp_;  // new with every change, unique among all indexes
};

}  // namespace mods
