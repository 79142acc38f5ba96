#pragma once
// Finding the game where Steam installed it: in one of the libraries a
// Steam installation knows, through its steamapps/libraryfolders.vdf.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform { class FileSystem; }

namespace mods {

inline constexpr std::wstring_view kSteamAppId = L"200710";
inline constexpr std::wstring_view kSteamGameFolder = L"Torchlight II";

// The installation itself, then each library folder its
// steamapps/libraryfolders.vdf names (both the current form, sections with
// a "path", and the old one, numbered paths). A file that is missing,
// unreadable or out of form leaves the installation alone.
std::vector<std::wstring> SteamLibraryFolders(platform::FileSystem& fileSystem, const std::wstring& steamRoot);

// The game's folder in a library: steamapps/common/ + the "installdir" of
// the game's appmanifest_200710.acf, or "Torchlight II" without one.
std::wstring GameFolderInLibrary(platform::FileSystem& fileSystem, const std::wstring& library);

// The folder of a game installation that holds its paks: its PAKS
// subfolder, in whatever letter case it is spelled on disk.
std::optional<std::wstring> PaksSubfolder(platform::FileSystem& fileSystem, const std::wstring& gameFolder);

// Where the game would be in each library of the Steam installations, in
// the order given (DiscoverGames says which of them hold it).
std::vector<std::wstring> SteamGameFolders(platform::FileSystem& fileSystem, const std::vector<std::wstring>& steamRoots);

}  // namespace mods
