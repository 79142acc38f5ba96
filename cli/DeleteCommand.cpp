// pakorder delete: a mod and its companion gone from disk.
#include <algorithm>

#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/ModNames.h"
#include "cli/ProblemTexts.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "mods/ModFile.h"
#include "mods/ModSwitch.h"

namespace cli {

void RunDelete(Session& session, const Invocation& invocation)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    std::vector<std::wstring> names;
    for (const int row : FindModRows(session, catalogue, invocation.operands))
        names.push_back(catalogue[static_cast<std::size_t>(row)].fileName);
    if (names.empty())
        return;
    std::vector<mods::FileFailure> failures;
    if (!session.Ran(session.Writer().Delete(names, failures)))
        return;
    for (const std::wstring& name : names) {
        // A failure names the pak or its companion.
        const auto failure = std::find_if(failures.begin(), failures.end(), [&](const mods::FileFailure& f) {
            return f.fileName == name || f.fileName == mods::CompanionName(name);
        });
        if (failure != failures.end())
            session.Fail(fw::FormatText(texts::kModProblem, name, ProblemWords(mods::NotDeleted(*failure))));
        else
            session.Say(fw::FormatText(texts::kDeleted, name));
    }
}

}  // namespace cli
