// pakorder enable, disable: a mod's pak and companion renamed together.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/ModNames.h"
#include "cli/ProblemTexts.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "mods/ModFile.h"
#include "mods/ModSwitch.h"

namespace cli {
namespace {

void Switch(Session& session, const Invocation& invocation, bool enable)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    std::vector<mods::StateChange> toSwitch;
    for (const int row : FindModRows(session, catalogue, invocation.operands)) {
        const std::wstring& name = catalogue[static_cast<std::size_t>(row)].fileName;
        if (mods::IsDisabledModName(name) == enable)
            toSwitch.push_back(mods::StateChange{name, enable});
        else
            session.Say(fw::FormatText(enable ? texts::kAlreadyEnabled : texts::kAlreadyDisabled, name));
    }
    if (toSwitch.empty())
        return;
    std::vector<mods::SwitchResult> results;
    if (!session.Ran(session.Writer().Switch(enable ? mods::RecordedAction::Enable : mods::RecordedAction::Disable,
                                             toSwitch, results)))
        return;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const mods::SwitchResult& switched = results[i];
        if (switched.failure)
            session.Fail(fw::FormatText(texts::kModProblem, toSwitch[i].name, ProblemWords(mods::NotRenamed(*switched.failure))));
        else
            session.Say(fw::FormatText(enable ? texts::kEnabled : texts::kDisabled, switched.name));
    }
}

}  // namespace

void RunEnable(Session& session, const Invocation& invocation) { Switch(session, invocation, true); }

void RunDisable(Session& session, const Invocation& invocation) { Switch(session, invocation, false); }

}  // namespace cli
