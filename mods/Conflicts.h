#pragma once
// Which mods replace the same game files, and which one wins: the one the
// game loads last.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "mods/IntendedOverlaps.h"
#include "mods/Manifest.h"
#include "mods/StepProgress.h"
#include "platform/FileSystem.h"

namespace mods {

// The largest manifest read: the game's own largest is a few megabytes.
inline constexpr std::size_t kMaxManifestBytes = 64u << 20;

// A row of the mod list, in the order shown.
struct ListedModToCheck {
    std::wstring name;
    bool enabled = true;
    bool selected = false;
};

// A game file held by two or more mods. Its path and the mods it overrides
// are kept in the report, which gives them out (ConflictReport::PathOf,
// ConflictReport::Overridden), so that a report of millions of files holds
// no string per file.
struct FileConflict {
    std::size_t winner = 0;   // index of the mod whose file takes effect
    bool identical = false;   // the same CRC-32 and size in every mod
    bool intended = false;    // not identical, and the winner is meant to override every other holder
    std::uint32_t folderAt = 0, nameAt = 0;  // the winner's spelling, in ConflictReport::spellings
    std::uint16_t folderUnits = 0, nameUnits = 0;
    std::uint32_t overriddenAt = 0, overriddenCount = 0;  // in ConflictReport::overridden
};

enum class UncheckedReason { NoManifest, Unreadable, Malformed, TooLarge };

struct UncheckedMod {
    std::size_t mod = 0;
    UncheckedReason reason = UncheckedReason::NoManifest;
    platform::FsStatus status;  // why it could not be read, for Unreadable
};

struct ConflictReport {
    // Real conflicts sorted by path, then those the player intends, then
    // identical copies, each sorted by path.
    std::vector<FileConflict> conflicts;
    std::vector<UncheckedMod> unchecked;
    std::size_t modsInConflict = 0;  // mods that appear in a listed real conflict

    // The file's path as the winning mod spells it.
    std::wstring PathOf(const FileConflict& conflict) const;
    // The other mods that hold the file, in load order.
    std::span<const std::uint32_t> Overridden(const FileConflict& conflict) const;

    std::string spellings;                 // UTF-16LE units of the winners' folders and names
    std::vector<std::uint32_t> overridden;
};

// One mod's manifest, in load order; a disabled mod, or one without a
// manifest, holds no file.
struct ModManifest {
    bool enabled = true;
    bool selected = false;
    std::optional<Manifest> manifest;
};

// The files held by two or more enabled mods, found in one pass. A file is
// its whole path: folder and name joined by one separator, "\\" and "/"
// the same, repeated separators as one, letters compared without regard to
// case as Windows compares names (platform/LetterCase). With any mod
// selected, only the files that involve a selected mod. Leaves `unchecked`
// empty.
ConflictReport FindConflicts(const std::vector<ModManifest>& mods);

// Reads the manifest of every enabled mod in the folder and finds the
// conflicts among them. Indices in the report are rows of `rows`. A
// manifest larger than kMaxManifestBytes is not read. Throws std::bad_alloc
// when memory runs out.
// `progress` is told of each row as its manifest is read.
ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows, const StepProgress& progress = {});
// The same with the overlaps the player intends: their files are marked.
ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows, const std::vector<IntendedOverlap>& intended,
                              const StepProgress& progress = {});

}  // namespace mods
