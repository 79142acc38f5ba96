// pakorder export, import: mod lists to share, written and taken.
#include <algorithm>

#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/ProblemTexts.h"
#include "cli/Session.h"
#include "cli/System.h"
#include "cli/Texts.h"
#include "mods/ListImport.h"
#include "mods/ModList.h"
#include "mods/ModSwitch.h"
#include "mods/ModTime.h"
#include "platform/Utf8.h"

namespace cli {
namespace {

constexpr std::wstring_view kStandardStream = L"-";

}  // namespace

void RunExport(Session& session, const Invocation& invocation)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    const mods::ModListExport list = mods::ExportModList(catalogue);
    if (!list.takenTwice.empty()) {
        std::wstring names;
        for (const std::wstring& name : list.takenTwice)
            names += (names.empty() ? L"" : texts::kNameSeparator) + name;
        session.Fail(fw::FormatText(texts::kNamesTakenTwice, names));
        return;
    }
    for (const std::wstring& name : list.leftOut)
        session.Fail(fw::FormatText(texts::kLeftOutOfList, name));

    const std::wstring file = invocation.operands.empty() ? std::wstring(kStandardStream) : invocation.operands.front();
    if (file == kStandardStream) {
        session.Print(list.text);
        return;
    }
    // Never half a list: the old file stays until the new one is whole.
    const platform::FsStatus written = session.Files().WriteFileDurably(session.Sys().FullPath(file), list.text);
    if (!written.ok()) {
        session.Fail(fw::FormatText(texts::kCannotExport, file, session.Reason(written)));
        return;
    }
    session.Say(fw::FormatText(texts::kExported, ModCount(catalogue.size() - list.leftOut.size()), file));
}

void RunImport(Session& session, const Invocation& invocation)
{
    const std::wstring& file = invocation.operands.front();
    std::vector<unsigned char> bytes;
    const platform::FsStatus read = file == kStandardStream
        ? session.Sys().ReadInput(mods::kMaxModListBytes, bytes)
        : session.Files().ReadWholeFile(session.Sys().FullPath(file), mods::kMaxModListBytes, bytes);
    mods::ModListProblem problem;
    if (platform::IsTooLarge(read)) {
        session.Fail(ProblemWords(mods::TextOf(mods::ModListProblem{mods::ModListFault::TooLarge, 0, {}}, file)));
        return;
    }
    if (!read.ok()) {
        session.Fail(fw::FormatText(texts::kCannotReadList, file, session.Reason(read)));
        return;
    }
    const std::optional<std::vector<mods::ModListEntry>> list = mods::ParseModList(bytes, problem);
    if (!list) {
        session.Fail(ProblemWords(mods::TextOf(problem, file)));
        return;
    }

    mods::Arrangement arrangement;
    arrangement.Reset(session.Catalogue());
    const mods::ImportEffect effect = mods::PlanImport(arrangement.Rows(), *list);
    arrangement.Rearrange(effect.order);
    if (!effect.moved.empty() || !effect.switches.empty()) {
        std::vector<mods::SwitchResult> switched;
        std::vector<mods::FileFailure> failures;
        if (!session.Ran(session.Writer().Import(arrangement, effect.switches, !effect.moved.empty(),
                                                 session.Files().CurrentTime(), switched, failures)))
            return;
        int enabled = 0, disabled = 0;
        for (std::size_t i = 0; i < switched.size(); ++i) {
            const mods::StateChange& change = effect.switches[i];
            if (switched[i].failure)
                session.Fail(fw::FormatText(texts::kModProblem, change.name, ProblemWords(mods::NotRenamed(*switched[i].failure))));
            else
                (change.enable ? enabled : disabled) += 1;
        }
        for (const mods::FileFailure& failure : failures)
            session.Fail(fw::FormatText(texts::kCannotWriteTime, failure.fileName, session.Reason(failure.status)));
        session.Say(fw::FormatText(texts::kImported, file, ModCount(effect.moved.size()), enabled, disabled));
    } else {
        session.Say(fw::FormatText(texts::kImported, file, ModCount(0), 0, 0));
    }
    for (const std::wstring& name : effect.missing)
        session.Fail(fw::FormatText(texts::kModNotInFolder, name));
}

}  // namespace cli
