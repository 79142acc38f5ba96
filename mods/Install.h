#pragma once
// Installing mods dropped onto the window: what a drop means, and the copies.

#include <optional>
#include <string>
#include <vector>

#include "mods/FileFailure.h"

namespace platform { class FileSystem; }

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

struct InstallResult {
    std::vector<std::wstring> copied;     // names of the mods now in the folder by this install
    std::vector<FileFailure> notCopied;   // the mods (or companions) that were not copied, and why
};

// Copies each file into the folder, never replacing one, and its companion
// only when the mod itself was copied.
InstallResult InstallMods(platform::FileSystem& fileSystem, const std::wstring& folder,
                          const std::vector<std::wstring>& files);

}  // namespace mods
