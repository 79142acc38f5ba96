// pakorder enable, disable: a mod's pak and companion renamed together.
#include "cli/Commands.h"
#include "cli/ModNames.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "framework/FormatText.h"
#include "mods/ModFile.h"
#include "mods/ModSwitch.h"

namespace cli {
namespace {

void Switch(Session& session, const Invocation& invocation, bool enable)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    std::vector<std::wstring> toSwitch;
    for (const int row : FindModRows(session, catalogue, invocation.operands)) {
        const std::wstring& name = catalogue[static_cast<std::size_t>(row)].fileName;
        if (mods::IsDisabledModName(name) == enable)
            toSwitch.push_back(name);
        else
            session.Say(fw::FormatText(enable ? texts::kAlreadyEnabled : texts::kAlreadyDisabled, name));
    }
    if (toSwitch.empty())
        return;
    const std::optional<std::uint64_t> record =
        session.BeginWrite(enable ? mods::RecordedAction::Enable : mods::RecordedAction::Disable, toSwitch);
    if (!record)
        return;
    for (const std::wstring& name : toSwitch) {
        const mods::SwitchResult switched = mods::SwitchMod(session.Files(), session.Paks(), name, enable);
        if (switched.failure)
            session.Fail(fw::FormatText(texts::kCannotRename, name, switched.failure->fileName,
                                        session.Reason(switched.failure->status)));
        else
            session.Say(fw::FormatText(enable ? texts::kEnabled : texts::kDisabled, switched.name));
    }
    session.EndWrite(*record);
}

}  // namespace

void RunEnable(Session& session, const Invocation& invocation) { Switch(session, invocation, true); }

void RunDisable(Session& session, const Invocation& invocation) { Switch(session, invocation, false); }

}  // namespace cli
