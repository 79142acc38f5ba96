// pakorder set-time: the date dialog's rules, without the dialog.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/ModNames.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "cli/TimeText.h"
#include "mods/ModTime.h"

namespace cli {
namespace {

constexpr int kWarningYear = 2020;

}  // namespace

void RunSetTime(Session& session, const Invocation& invocation)
{
    const std::optional<Date> date = ParseDate(invocation.operands[1]);
    if (!date) {
        session.UsageError(fw::FormatText(texts::kBadDate, invocation.operands[1]));
        return;
    }
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    const std::optional<int> row = FindModRow(session, catalogue, invocation.operands[0]);
    if (!row)
        return;
    const std::wstring& name = catalogue[static_cast<std::size_t>(*row)].fileName;
    const std::optional<mods::FileTime> current = mods::GetModFileTime(session.Files(), session.Paks(), name);
    const std::optional<mods::FileTime> time = OnDate(current.value_or(catalogue[static_cast<std::size_t>(*row)].lastWriteTime), *date);
    if (!time) {
        session.UsageError(fw::FormatText(texts::kBadDate, invocation.operands[1]));
        return;
    }
    std::vector<mods::FileFailure> failures;
    if (!session.Ran(session.Writer().SetTime(name, *time, failures)))
        return;
    for (const mods::FileFailure& failure : failures)
        session.Fail(fw::FormatText(texts::kCannotWriteTime, failure.fileName, session.Reason(failure.status)));
    if (!failures.empty())
        return;
    session.Say(fw::FormatText(texts::kTimeSet, name, mods::FormatFileDate(*time)));
    if (date->year < kWarningYear)
        session.Warn(texts::kEarlyYear);  // written all the same
}

}  // namespace cli
