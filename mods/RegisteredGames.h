#pragma once
// Where Windows' registry says the game is installed: Steam's uninstall
// entry of the game and the libraries of Steam's installation, then GOG's
// list of its games.

#include <string>
#include <vector>

namespace platform {
class FileSystem;
class Registry;
}

namespace mods {

// Game folders to look at, Steam's first; not all of them need exist.
std::vector<std::wstring> RegisteredGameFolders(platform::FileSystem& fileSystem, platform::Registry& registry);

}  // namespace mods
