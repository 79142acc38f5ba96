#include "app/InstalledGames.h"

#include "mods/RegisteredGames.h"
#include "platform/Registry.h"

std::vector<std::wstring> InstalledGameFolders(platform::FileSystem& fileSystem)
{
    return mods::RegisteredGameFolders(fileSystem, platform::SystemRegistry());
}
