#pragma once
// What the game's installations offer when the program stands in none of
// them: the PAKS folders that qualify, or else a game folder to start the
// picker in.

#include <optional>
#include <string>
#include <vector>

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

}  // namespace mods
