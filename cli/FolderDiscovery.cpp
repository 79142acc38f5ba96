#include "cli/FolderDiscovery.h"

#include "base/FormatText.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/GameDiscovery.h"
#include "platform/Paths.h"
#include "platform/ReusedListing.h"

namespace cli {

std::optional<std::wstring> FindPaksFolder(Context& context, ReusedListing& files, const std::optional<std::wstring>& named,
                                           std::wstring& whyNot)
{
    std::optional<std::wstring> found;
    if (named) {
        found = mods::PaksFolderAt(files, context.system.FullPath(*named), &files);
        if (!found)
            whyNot = fw::FormatText(texts::kNotAGameFolder, *named);
    } else {
        mods::GamePlaces places = SystemGamePlaces(context.system, files);
        places.own.insert(places.own.begin(), context.system.CurrentFolder());
        found = mods::SearchGamePlaces(files, places, &files).paks;
        if (!found)
            whyNot = texts::kNoGameFound;
    }
    if (!found)
        return std::nullopt;
    // The same folder reached by other paths keeps one history.
    return platform::WithTrailingSeparator(context.system.FullPath(*found));
}

}  // namespace cli
