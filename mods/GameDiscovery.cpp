#include "mods/GameDiscovery.h"

#include <unordered_set>

#include "mods/GameFolder.h"
#include "mods/SteamGame.h"
#include "platform/FileSystem.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"
#include "platform/ReusedListing.h"

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

namespace {

// The folder's listing when it qualifies; kept for the next read of it.
bool Qualifies(platform::FileSystem& fileSystem, const std::wstring& folder, ReusedListing* keep)
{
    std::vector<platform::FolderEntry> entries;
    if (!fileSystem.FolderExists(folder) || !fileSystem.ListFolder(folder, entries).ok() || !ListingHoldsPaks(entries))
        return false;
    if (keep)
        keep->Keep(folder, std::move(entries));
    return true;
}

}  // namespace

std::optional<std::wstring> PaksFolderAt(platform::FileSystem& fileSystem, const std::wstring& path, ReusedListing* keep)
{
    if (Qualifies(fileSystem, path, keep))
        return path;
    const std::optional<std::wstring> paks = PaksSubfolder(fileSystem, path);
    if (paks && Qualifies(fileSystem, *paks, keep))
        return paks;
    return std::nullopt;
}

GameSearch SearchGamePlaces(platform::FileSystem& fileSystem, const GamePlaces& places, ReusedListing* keep)
{
    GameSearch search;
    for (const std::wstring& place : places.own) {
        if ((search.paks = PaksFolderAt(fileSystem, place, keep))) {
            search.where = FoundIn::Own;
            return search;
        }
    }
    if (places.installed) {
        search.installations = DiscoverGames(fileSystem, places.installed());
        if (!search.installations.paksFolders.empty()) {
            search.paks = search.installations.paksFolders.front();
            search.where = FoundIn::Installations;
            return search;
        }
    }
    if (places.lastChosen) {
        if (const std::optional<std::wstring> chosen = places.lastChosen(); chosen && !chosen->empty()) {
            if ((search.paks = PaksFolderAt(fileSystem, *chosen)))
                search.where = FoundIn::LastChosen;
        }
    }
    return search;
}

}  // namespace mods
