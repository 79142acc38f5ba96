#include "cli/ModNames.h"

#include <algorithm>

#include "cli/Session.h"
#include "cli/Texts.h"
#include "framework/FormatText.h"
#include "mods/ChangeRecord.h"
#include "platform/LetterCase.h"

namespace cli {

std::optional<int> FindModRow(Session& session, const std::vector<mods::ModEntry>& rows, const std::wstring& name)
{
    const std::wstring folded = platform::FoldedCase(name);
    // From the closest match to the loosest; the first that matches decides.
    const auto matchers = {
        +[](const mods::ModEntry& row, const std::wstring& name, const std::wstring&) { return row.fileName == name; },
        +[](const mods::ModEntry& row, const std::wstring&, const std::wstring& folded) {
            return platform::FoldedCase(row.fileName) == folded;
        },
        +[](const mods::ModEntry& row, const std::wstring&, const std::wstring& folded) {
            return mods::ModKey(row.fileName) == folded;
        },
    };
    for (const auto matches : matchers) {
        std::vector<int> found;
        for (std::size_t row = 0; row < rows.size(); ++row)
            if (matches(rows[row], name, folded))
                found.push_back(static_cast<int>(row));
        if (found.size() == 1)
            return found.front();
        if (found.size() > 1) {
            std::wstring which;
            for (const int row : found)
                which += (which.empty() ? L"" : texts::kNameSeparator) + rows[static_cast<std::size_t>(row)].fileName;
            session.Fail(fw::FormatText(texts::kAmbiguousName, name, which));
            return std::nullopt;
        }
    }
    session.Fail(fw::FormatText(texts::kNoSuchMod, name));
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
