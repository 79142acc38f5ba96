// pakorder delete: a mod and its companion gone from disk.
#include "cli/Commands.h"
#include "cli/ModNames.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "framework/FormatText.h"
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
    const std::optional<std::uint64_t> record = session.BeginWrite(mods::RecordedAction::Delete, names);
    if (!record)
        return;
    for (const std::wstring& name : names) {
        if (const std::optional<mods::FileFailure> failure = mods::DeleteMod(session.Files(), session.Paks(), name))
            session.Fail(fw::FormatText(texts::kCannotDelete, name, failure->fileName, session.Reason(failure->status)));
        else
            session.Say(fw::FormatText(texts::kDeleted, name));
    }
    session.EndWrite(*record);
}

}  // namespace cli
