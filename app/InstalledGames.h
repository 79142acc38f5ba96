#pragma once
// Where Windows says the game is installed: Steam's uninstall entry and
// libraries, and GOG's list of its games.

#include <string>
#include <vector>

namespace platform { class FileSystem; }

// Game folders to look at, Steam's first; not all of them need exist.
std::vector<std::wstring> InstalledGameFolders(platform::FileSystem& fileSystem);
