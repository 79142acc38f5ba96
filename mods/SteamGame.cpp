#include "mods/SteamGame.h"

#include <algorithm>
#include <unordered_set>

#include "mods/Vdf.h"
#include "platform/FileSystem.h"
#include "platform/LetterCase.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"

namespace mods {
namespace {

// Steam's own files are small; a larger one is not Steam's.
constexpr std::size_t kMaxSteamFileBytes = 1u << 20;

std::optional<std::vector<VdfNode>> ReadVdfFile(platform::FileSystem& fileSystem, const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    if (!fileSystem.ReadWholeFile(path, kMaxSteamFileBytes, bytes).ok())
        return std::nullopt;
    return ParseVdf(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool IsNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A folder name of its own, never a way out of steamapps/common.
bool IsPlainFolderName(const std::wstring& name)
{
    return !name.empty() && name != L"." && name != L".." &&
           std::none_of(name.begin(), name.end(), [](wchar_t c) { return c == L'/' || c == L'\\' || c == L':' || c < 0x20; });
}

}  // namespace

std::vector<std::wstring> SteamLibraryFolders(platform::FileSystem& fileSystem, const std::wstring& steamRoot)
{
    std::vector<std::wstring> libraries{platform::StripTrailingSeparators(steamRoot)};
    std::unordered_set<std::wstring> seen{libraries.front()};  // a file of many libraries is read in linear time
    const auto pairs = ReadVdfFile(fileSystem, platform::JoinPath(platform::JoinPath(steamRoot, L"steamapps"), L"libraryfolders.vdf"));
    const VdfNode* folders = pairs ? FindVdfKey(*pairs, "libraryfolders") : nullptr;
    if (!folders || !folders->isSection)
        return libraries;
    for (const VdfNode& entry : folders->children) {
        if (!IsNumber(entry.key))
            continue;  // "TimeNextStatsReport", "contentstatsid"
        const VdfNode* path = entry.isSection ? FindVdfKey(entry.children, "path") : &entry;
        if (!path || path->isSection || path->value.empty())
            continue;
        std::wstring library = platform::StripTrailingSeparators(platform::FromUtf8(path->value));
        if (seen.insert(library).second)
            libraries.push_back(std::move(library));
    }
    return libraries;
}

std::wstring GameFolderInLibrary(platform::FileSystem& fileSystem, const std::wstring& library)
{
    const std::wstring steamapps = platform::JoinPath(library, L"steamapps");
    std::wstring folder(kSteamGameFolder);
    const auto pairs = ReadVdfFile(fileSystem, platform::JoinPath(steamapps, L"appmanifest_" + std::wstring(kSteamAppId) + L".acf"));
    const VdfNode* state = pairs ? FindVdfKey(*pairs, "AppState") : nullptr;
    const VdfNode* installdir = state && state->isSection ? FindVdfKey(state->children, "installdir") : nullptr;
    if (installdir && !installdir->isSection) {
        std::wstring named = platform::FromUtf8(installdir->value);
        if (IsPlainFolderName(named))
            folder = std::move(named);
    }
    return platform::JoinPath(platform::JoinPath(steamapps, L"common"), folder);
}

std::optional<std::wstring> PaksSubfolder(platform::FileSystem& fileSystem, const std::wstring& gameFolder)
{
    std::vector<platform::FolderEntry> entries;
    if (!fileSystem.ListFolder(gameFolder, entries).ok())
        return std::nullopt;
    for (const platform::FolderEntry& entry : entries)
        if (entry.isFolder && platform::FoldedCase(entry.name) == L"PAKS")
            return platform::JoinPath(gameFolder, entry.name);
    return std::nullopt;
}

std::vector<std::wstring> SteamGameFolders(platform::FileSystem& fileSystem, const std::vector<std::wstring>& steamRoots)
{
    std::vector<std::wstring> games;
    for (const std::wstring& root : steamRoots)
        for (const std::wstring& library : SteamLibraryFolders(fileSystem, root))
            games.push_back(GameFolderInLibrary(fileSystem, library));
    return games;
}

}  // namespace mods
