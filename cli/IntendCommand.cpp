// pakorder intend: marks an overlap the player means (A overrides B on
// purpose), or takes the mark back, in the file beside the folder's records.
#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/IntendedPairs.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "mods/ModFile.h"
#include "mods/ModList.h"
#include "mods/ModNames.h"
#include "mods/OverlapMarking.h"
#include "platform/LetterCase.h"

namespace cli {
namespace {

// A pair names mods without their extensions, so that it holds whether they
// are enabled or not. A name that means no mod may still be taken out of a
// pair: its mod may have been deleted since.
std::optional<std::wstring> PairName(Session& session, const std::vector<mods::ModEntry>& catalogue,
                                     const std::wstring& typed, bool mustExist)
{
    const mods::NameMatch match = mods::ResolveModName(catalogue, typed);
    if (!match.rows.empty())  // several rows of one name are one mod, enabled and disabled
        return mods::ModListEntryOf(catalogue[static_cast<std::size_t>(match.rows.front())].fileName).name;
    if (mustExist) {
        session.Fail(fw::FormatText(texts::kNoSuchMod, typed));
        return std::nullopt;
    }
    return mods::IsModFileName(typed) ? mods::ModListEntryOf(typed).name : typed;
}

}  // namespace

void RunIntend(Session& session, const Invocation& invocation)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    const bool add = !invocation.remove;
    const std::optional<std::wstring> overriding = PairName(session, catalogue, invocation.operands[0], add);
    const std::optional<std::wstring> overridden = PairName(session, catalogue, invocation.operands[1], add);
    if (!overriding || !overridden)
        return;
    const mods::IntendedOverlap pair{*overriding, *overridden};
    if (!mods::FormatOverlapPair(pair)) {
        session.Fail(platform::FoldedCase(pair.overriding) == platform::FoldedCase(pair.overridden)
                         ? fw::FormatText(texts::kIntendItself, pair.overriding)
                         : fw::FormatText(texts::kIntendBadName, pair.overriding, pair.overridden));
        return;
    }

    const mods::OverlapMarkOutcome outcome = mods::MarkIntendedOverlap(
        session.Files(), session.Writer(), session.History() ? session.History()->RecordsFolder() : std::wstring(), pair,
        add);
    if (!session.Ran(outcome.write))
        return;
    WarnOverlapsProblems(session, outcome.path, outcome.problems);
    switch (outcome.result) {
    case mods::OverlapMarkResult::Changed:
        break;
    case mods::OverlapMarkResult::AlreadyMarked:
    case mods::OverlapMarkResult::NotMarked:
        session.Say(fw::FormatText(add ? texts::kAlreadyIntended : texts::kNotIntended, pair.overriding, pair.overridden));
        return;
    case mods::OverlapMarkResult::Refused:
        return;
    case mods::OverlapMarkResult::CannotRead:
        session.Fail(fw::FormatText(texts::kCannotReadList, outcome.path, session.Reason(outcome.status)));
        return;
    case mods::OverlapMarkResult::FileAtFault:
        session.Fail(fw::FormatText(texts::kOverlapsNotRewritten, outcome.path));
        return;
    case mods::OverlapMarkResult::CannotWrite:
        session.Fail(fw::FormatText(texts::kCannotWriteOverlaps, outcome.path, session.Reason(outcome.status)));
        return;
    }
    session.Say(fw::FormatText(add ? texts::kIntended : texts::kUnintended, pair.overriding, pair.overridden));
}

}  // namespace cli
