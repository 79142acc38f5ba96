#pragma once
// Which mods replace the same game files, and which one wins: the one the
// game loads last.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "mods/Manifest.h"
#include "platform/FileSystem.h"

namespace mods {

// A row of the mod list, in the order shown.
struct ListedModToCheck {
    std::wstring name;
    bool enabled = true;
    bool selected = false;
};

struct FileConflict {
    std::wstring path;                  // as the winning mod spells it
    std::size_t winner = 0;             // index of the mod whose file takes effect
    std::vector<std::size_t> overridden;  // the others, in load order
    bool identical = false;             // the same CRC-32 and size in every mod
};

enum class UncheckedReason { NoManifest, Unreadable, Malformed };

struct UncheckedMod {
    std::size_t mod = 0;
    UncheckedReason reason = UncheckedReason::NoManifest;
    platform::FsStatus status;  // why it could not be read, for Unreadable
};

struct ConflictReport {
    // Real conflicts sorted by path, then identical copies sorted by path.
    std::vector<FileConflict> conflicts;
    std::vector<UncheckedMod> unchecked;
    std::size_t modsInConflict = 0;  // mods that appear in a listed conflict
};

// One mod's manifest, in load order; a disabled mod, or one without a
// manifest, holds no file.
struct ModManifest {
    bool enabled = true;
    bool selected = false;
    std::optional<Manifest> manifest;
};

// The files held by two or more enabled mods (paths compared without regard
// to ASCII case, with "\\" and "/" the same), found in one pass. With any
// mod selected, only the files that involve a selected mod. Leaves
// `unchecked` empty.
ConflictReport FindConflicts(const std::vector<ModManifest>& mods);

// Reads the manifest of every enabled mod in the folder and finds the
// conflicts among them. Indices in the report are rows of `rows`.
ConflictReport CheckConflicts(platform::FileSystem& fileSystem, const std::wstring& folder,
                              const std::vector<ListedModToCheck>& rows);

}  // namespace mods
