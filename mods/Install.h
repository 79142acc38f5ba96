#pragma once
// Installing mods dropped onto the window: what a drop means, and the copies.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace mods {

struct DropPlan {
    // A dropped PAKS folder to manage from now on (with one trailing separator).
    std::optional<std::wstring> paksFolder;
    // The dropped mod files to copy, in drop order (those before the folder included).
    std::vector<std::wstring> files;
};

// Walks the dropped paths in order: the first folder that holds paks ends
// the walk and becomes the managed folder; other folders are skipped; a
// file is taken when its name is a mod's by the folder scan's own rule.
DropPlan PlanDrop(platform::FileSystem& fileSystem, const std::vector<std::wstring>& paths);

enum class NotInstalledReason {
    CopyFailed,            // the pak or its companion could not be copied: `status` says why
    AlreadyThere,          // a mod of that name is in the folder
    AlreadyThereEnabled,   // the same mod is in the folder, enabled
    AlreadyThereDisabled,  // the same mod is in the folder, disabled
    ManifestTaken,         // the folder holds a stray file with the companion's name
    Cancelled,             // the player stopped the install before this mod was in
    PakLeftBehind,         // the companion could not be copied (`status`), nor the pak
                           // copied before it removed again (`removalStatus`): it is in
                           // the folder without its manifest
};

// One mod that was not installed.
struct NotInstalled {
    std::wstring fileName;  // the mod, or its companion when that copy failed
    NotInstalledReason reason = NotInstalledReason::CopyFailed;
    platform::FsStatus status;
    platform::FsStatus removalStatus;  // PakLeftBehind: why the pak could not go again
};

struct InstallResult {
    std::vector<std::wstring> copied;       // names of the mods now in the folder by this install
    std::vector<NotInstalled> notCopied;    // one entry per mod that was not installed
};

// Told what an install is doing, between chunks of the copies.
class InstallProgress {
public:
    virtual ~InstallProgress() = default;
    virtual void CopyingMod(const std::wstring& name, std::size_t index, std::size_t count) = 0;
    // Bytes of the file being copied; false stops the install.
    virtual bool Copied(std::uint64_t bytes, std::uint64_t total) = 0;
};

// Copies each mod into the folder with its companion, whole or not at all:
// never replacing a file, never beside a stray manifest of its name, never
// as a second copy of a mod the folder holds in the other state.
// With `progress`, a stop leaves nothing of the mod being copied, and it and
// the mods after it are named as Cancelled.
InstallResult InstallMods(platform::FileSystem& fileSystem, const std::wstring& folder,
                          const std::vector<std::wstring>& files, InstallProgress* progress = nullptr);

}  // namespace mods
