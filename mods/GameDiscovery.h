#pragma once
// Where the front ends look for the PAKS folder, and in which order; what
// the game's installations offer when the program stands in none of them:
// the PAKS folders that qualify, or else a game folder to start the picker in.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class ReusedListing;
namespace platform { class FileSystem; }

namespace mods {

inline constexpr std::wstring_view kGameProgram = L"Torchlight2.exe";

struct DiscoveredGames {
    std::vector<std::wstring> paksFolders;  // that qualify, in the order found, once each
    std::optional<std::wstring> gameFolder;  // the first game found whose PAKS does not qualify
};

// Looks at each game folder in turn (Steam's, then GOG's, as the caller
// found them); a folder that is not there is passed over.
DiscoveredGames DiscoverGames(platform::FileSystem& fileSystem, const std::vector<std::wstring>& gameFolders);

// The PAKS folder at `path`: the path itself when it holds paks, or its
// PAKS subfolder (in whatever letter case) when that does. The listing that
// decided is kept in `keep`, when given, for the next read of the folder.
std::optional<std::wstring> PaksFolderAt(platform::FileSystem& fileSystem, const std::wstring& path,
                                         ReusedListing* keep = nullptr);

// The places a front end looks in, each source read only when the ones
// before it found nothing.
struct GamePlaces {
    // Its own: the folder named, the current one, the program's.
    std::vector<std::wstring> own;
    // The game folders the system says the game is installed in (Steam's,
    // then GOG's); none when it has no such list.
    std::function<std::vector<std::wstring>()> installed;
    // The folder last chosen in the window's folder picker, if any.
    std::function<std::optional<std::wstring>()> lastChosen;
};

enum class FoundIn { Nowhere, Own, Installations, LastChosen };

struct GameSearch {
    std::optional<std::wstring> paks;  // the first that qualifies
    FoundIn where = FoundIn::Nowhere;
    // What the installations offered, when they were looked at: a front end
    // that asks may offer all of them.
    DiscoveredGames installations;
};

// The one order of both front ends: their own places first (each as it is,
// then its PAKS subfolder), then the first installation that qualifies,
// then the folder last chosen in the window. Own places' listings are kept
// in `keep`.
GameSearch SearchGamePlaces(platform::FileSystem& fileSystem, const GamePlaces& places, ReusedListing* keep = nullptr);

}  // namespace mods
