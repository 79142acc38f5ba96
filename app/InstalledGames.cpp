#include "app/InstalledGames.h"

#include <windows.h>

#include "mods/GameDiscovery.h"
#include "mods/SteamGame.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace {

// A text value of the registry; empty when it is not there.
std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* name)
{
    DWORD bytes = 0;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0)
        return {};
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) != ERROR_SUCCESS)
        return {};
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

std::vector<std::wstring> SubkeyNames(HKEY root, const wchar_t* key)
{
    std::vector<std::wstring> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(opened, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(opened);
    return names;
}

// Steam writes its own path with forward slashes.
std::wstring WindowsPath(std::wstring path)
{
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

}  // namespace

std::vector<std::wstring> InstalledGameFolders(platform::FileSystem& fileSystem)
{
    std::vector<std::wstring> games;
    const std::wstring uninstall =
        RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 200710",
                     L"InstallLocation");
    if (!uninstall.empty())
        games.push_back(uninstall);
    for (const std::wstring& root : {WindowsPath(RegistryText(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", L"SteamPath")),
                                     RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\Valve\\Steam", L"InstallPath"),
                                     RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Valve\\Steam", L"InstallPath")}) {
        if (!root.empty())
            for (const std::wstring& game : mods::SteamGameFolders(fileSystem, {root}))
                games.push_back(WindowsPath(game));
    }
    // GOG keeps one key per game, with its folder in "path".
    for (const wchar_t* gog : {L"SOFTWARE\\WOW6432Node\\GOG.com\\Games", L"SOFTWARE\\GOG.com\\Games"}) {
        for (const std::wstring& id : SubkeyNames(HKEY_LOCAL_MACHINE, gog)) {
            const std::wstring key = std::wstring(gog) + L"\\" + id;
            const std::wstring folder = RegistryText(HKEY_LOCAL_MACHINE, key.c_str(), L"path");
            if (!folder.empty() && fileSystem.FileExists(platform::JoinPath(folder, std::wstring(mods::kGameProgram))))
                games.push_back(folder);
        }
    }
    return games;
}
