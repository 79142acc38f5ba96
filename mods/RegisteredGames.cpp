#include "mods/RegisteredGames.h"

#include "mods/GameDiscovery.h"
#include "mods/SteamGame.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

namespace mods {
namespace {

using platform::RegistryRoot;

// Steam writes its own path with forward slashes.
std::wstring WindowsPath(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

}  // namespace

std::vector<std::wstring> RegisteredGameFolders(platform::FileSystem& fileSystem, platform::Registry& registry)
{
    std::vector<std::wstring> games;
    const std::wstring uninstall = registry.Text(
        RegistryRoot::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 200710",
        L"InstallLocation");
    if (!uninstall.empty())
        games.push_back(uninstall);
    for (const std::wstring& root :
         {WindowsPath(registry.Text(RegistryRoot::CurrentUser, L"Software\\Valve\\Steam", L"SteamPath")),
          registry.Text(RegistryRoot::LocalMachine, L"SOFTWARE\\WOW6432Node\\Valve\\Steam", L"InstallPath"),
          registry.Text(RegistryRoot::LocalMachine, L"SOFTWARE\\Valve\\Steam", L"InstallPath")}) {
        if (!root.empty())
            for (const std::wstring& game : SteamGameFolders(fileSystem, {root}))
                games.push_back(WindowsPath(game));
    }
    // GOG keeps one key per game, with its folder in "path".
    for (const wchar_t* gog : {L"SOFTWARE\\WOW6432Node\\GOG.com\\Games", L"SOFTWARE\\GOG.com\\Games"}) {
        for (const std::wstring& id : registry.Subkeys(RegistryRoot::LocalMachine, gog)) {
            const std::wstring folder = registry.Text(RegistryRoot::LocalMachine, std::wstring(gog) + L"\\" + id, L"path");
            if (!folder.empty() && fileSystem.FileExists(platform::JoinPath(folder, std::wstring(kGameProgram))))
                games.push_back(folder);
        }
    }
    return games;
}

}  // namespace mods
