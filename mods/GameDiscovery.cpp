#include "mods/GameDiscovery.h"

#include <unordered_set>

#include "mods/GameFolder.h"
#include "mods/SteamGame.h"
#include "platform/FileSystem.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"

namespace mods {

DiscoveredGames DiscoverGames(platform::FileSystem& fileSystem, const std::vector<std::wstring>& gameFolders)
{
    DiscoveredGames found;
    std::unordered_set<std::wstring> seen;  // folded, so that one installation found twice counts once
    for (const std::wstring& game : gameFolders) {
        if (!seen.insert(platform::FoldedCase(platform::WithTrailingSeparator(game))).second)
            continue;
        const std::optional<std::wstring> paks = PaksSubfolder(fileSystem, game);
        if (paks && FolderHoldsPaks(fileSystem, *paks))
            found.paksFolders.push_back(platform::WithTrailingSeparator(*paks));
        else if (!found.gameFolder && fileSystem.FileExists(platform::JoinPath(game, std::wstring(kGameProgram))))
            found.gameFolder = platform::WithTrailingSeparator(game);
    }
    return found;
}

}  // namespace mods
