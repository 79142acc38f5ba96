#pragma once
// Enabling, disabling and deleting a mod on disk, always together with its
// ".MAN" companion.

#include <optional>
#include <string>
#include <string_view>

#include "mods/FileFailure.h"
#include "platform/FileSystem.h"

namespace mods {

// The name without its four-character extension, + ".PAK" or + ".G1O".
std::wstring EnabledModName(std::wstring_view name);
std::wstring DisabledModName(std::wstring_view name);

struct SwitchResult {
    std::wstring name;                   // the pak's name on disk afterwards
    std::optional<FileFailure> failure;  // the pak or companion that could not be renamed
};

// Renames the pak and its companion, all or nothing: either both end under
// the new names or both keep the old ones (a missing companion is no
// failure). No rename ever replaces an existing file.
SwitchResult SwitchMod(platform::FileSystem& fileSystem, const std::wstring& folder, const std::wstring& name,
                       bool enable);

// The same for any new name of the pak: its companion follows as
// CompanionName(newName), all or nothing, never replacing a file.
SwitchResult RenameMod(platform::FileSystem& fileSystem, const std::wstring& folder, const std::wstring& name,
                       const std::wstring& newName);

// Deletes the pak, and its companion only when the pak is gone, so a mod is
// never split from its companion. Returns the file that could not be deleted.
std::optional<FileFailure> DeleteMod(platform::FileSystem& fileSystem, const std::wstring& folder,
                                     const std::wstring& name);

}  // namespace mods
