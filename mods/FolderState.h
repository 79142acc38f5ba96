#pragma once
// The state of a PAKS folder as a record keeps it: every mod, by the folder
// scan's rules, with its companion and the exact times on disk.

#include <string>
#include <vector>

#include "mods/ChangeRecord.h"

namespace platform { class FileSystem; }

namespace mods {

// In enumeration order. A time that cannot be read is the one the
// enumeration reported. Empty when the folder cannot be listed.
std::vector<RecordedMod> ReadFolderState(platform::FileSystem& fileSystem, const std::wstring& paksFolder);

}  // namespace mods
