#include "mods/ModNames.h"

#include "mods/ChangeRecord.h"
#include "platform/LetterCase.h"

namespace mods {

NameMatch ResolveModName(const std::vector<ModEntry>& rows, const std::wstring& name)
{
    const std::wstring folded = platform::FoldedCase(name);
    // From the closest match to the loosest; the first that matches decides.
    const auto matchers = {
        +[](const ModEntry& row, const std::wstring& name, const std::wstring&) { return row.fileName == name; },
        +[](const ModEntry& row, const std::wstring&, const std::wstring& folded) {
            return platform::FoldedCase(row.fileName) == folded;
        },
        +[](const ModEntry& row, const std::wstring&, const std::wstring& folded) {
            return ModKey(row.fileName) == folded;
        },
    };
    NameMatch match;
    for (const auto matches : matchers) {
        for (std::size_t row = 0; row < rows.size(); ++row)
            if (matches(rows[row], name, folded))
                match.rows.push_back(static_cast<int>(row));
        if (!match.rows.empty())
            break;
    }
    return match;
}

}  // namespace mods
