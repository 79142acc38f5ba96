// pakorder install: the drop rules, for files named on the command line.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/ProblemTexts.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/Install.h"
#include "mods/ModFile.h"
#include "platform/Paths.h"

namespace cli {
void RunInstall(Session& session, const Invocation& invocation)
{
    std::vector<std::wstring> files, names;
    for (const std::wstring& given : invocation.operands) {
        const std::wstring path = session.Sys().FullPath(given);
        // One path at a time: a folder among them is not a mod, and ends nothing.
        const mods::DropPlan plan = mods::PlanDrop(session.Files(), {path});
        if (plan.files.empty() || !session.Files().FileExists(path)) {
            session.Fail(fw::FormatText(session.Files().PathExists(path) ? texts::kNotAModFile : texts::kNoSuchFile, given));
            continue;
        }
        files.push_back(path);
        names.push_back(platform::FileNameOf(path));
    }
    if (files.empty())
        return;
    mods::InstallResult installed;
    if (!session.Ran(session.Writer().Install(files, installed)))
        return;
    for (const std::wstring& name : installed.copied)
        session.Say(fw::FormatText(texts::kInstalled, name));
    for (const mods::NotInstalled& mod : installed.notCopied)
        session.Fail(fw::FormatText(texts::kNotInstalled, mod.fileName, ProblemWords(mods::TextOf(mod))));
}

}  // namespace cli
