#include "cli/ModNames.h"

#include <algorithm>

#include "base/FormatText.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "mods/ModNames.h"

namespace cli {

std::optional<int> FindModRow(Session& session, const std::vector<mods::ModEntry>& rows, const std::wstring& name)
{
    const mods::NameMatch match = mods::ResolveModName(rows, name);
    if (match.rows.size() == 1)
        return match.rows.front();
    if (match.rows.empty()) {
        session.Fail(fw::FormatText(texts::kNoSuchMod, name));
        return std::nullopt;
    }
    std::wstring which;
    for (const int row : match.rows)
        which += (which.empty() ? L"" : texts::kNameSeparator) + rows[static_cast<std::size_t>(row)].fileName;
    session.Fail(fw::FormatText(texts::kAmbiguousName, name, which));
    return std::nullopt;
}

std::vector<int> FindModRows(Session& session, const std::vector<mods::ModEntry>& rows,
                             const std::vector<std::wstring>& names)
{
    std::vector<int> found;
    for (const std::wstring& name : names)
        if (const std::optional<int> row = FindModRow(session, rows, name))
            found.push_back(*row);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

}  // namespace cli
