#pragma once
// The scan of one folder for files with given extensions.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileTime.h"

namespace platform { class FileSystem; }

namespace mods {

struct ScannedFile {
    std::wstring name;
    FileTime enumeratedTime = 0;  // the last-write time the enumeration reported
    bool operator==(const ScannedFile&) const = default;
};

// Counts the regular files directly in the folder (never in subfolders) whose
// extension is in the comma-separated list and whose whole name is none of
// the '|'-separated excluded names. Found files are appended to `found`, in
// enumeration order, when it is given. A folder that cannot be listed counts 0.
int ScanFolder(platform::FileSystem& fileSystem, const std::wstring& folder, std::wstring_view extensions,
               std::optional<std::wstring_view> excludedNames, std::vector<ScannedFile>* found);

}  // namespace mods
