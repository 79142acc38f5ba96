#include "cli/FolderDiscovery.h"

#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "framework/FormatText.h"
#include "mods/GameFolder.h"
#include "mods/SteamGame.h"
#include "platform/Paths.h"

namespace cli {

std::optional<std::wstring> PaksFolderAt(platform::FileSystem& fileSystem, const std::wstring& path)
{
    if (mods::FolderHoldsPaks(fileSystem, path))
        return path;
    const std::optional<std::wstring> paks = mods::PaksSubfolder(fileSystem, path);
    if (paks && mods::FolderHoldsPaks(fileSystem, *paks))
        return paks;
    return std::nullopt;
}

std::optional<std::wstring> FindPaksFolder(Context& context, const std::optional<std::wstring>& named, std::wstring& whyNot)
{
    std::optional<std::wstring> found;
    if (named) {
        found = PaksFolderAt(context.files, context.system.FullPath(*named));
        if (!found)
            whyNot = fw::FormatText(texts::kNotAGameFolder, *named);
    } else {
        found = PaksFolderAt(context.files, context.system.CurrentFolder());
        if (!found)
            found = FindInstalledGame(context.system, context.files);
        if (!found)
            whyNot = texts::kNoGameFound;
    }
    if (!found)
        return std::nullopt;
    // The same folder reached by other paths keeps one history.
    return platform::WithTrailingSeparator(context.system.FullPath(*found));
}

}  // namespace cli
