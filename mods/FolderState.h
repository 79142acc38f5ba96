#pragma once
// The state of a PAKS folder as a record keeps it: every mod, by the folder
// scan's rules, with its companion and the exact times on disk.

#include <string>
#include <vector>

#include "mods/ChangeRecord.h"

namespace platform { class FileSystem; }

namespace mods {

// Every mod in enumeration order, read whole or not at all: a listing that
// fails part-way or a time that cannot be read fails the read (with the
// system's reason), and `mods` is then empty. Only regular files count.
// A pak whose companion is missing takes the companion of its name in the
// other state when that pak is not there: a pair a crash parted between
// its two renames.
platform::FsStatus ReadFolderState(platform::FileSystem& fileSystem, const std::wstring& paksFolder,
                                   std::vector<RecordedMod>& mods);

// The names a mod's pak has in its other state: "a.G1O" for "a.PAK" or
// "a.pak"; "a.PAK" and "a.pak" for "a.G1O".
std::vector<std::wstring> OtherStateNames(const std::wstring& pakName);

}  // namespace mods
