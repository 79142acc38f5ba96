// pakorder move: the window's move and smart sort in one, on the same core.
#include <algorithm>

#include "base/FormatText.h"
#include "cli/Commands.h"
#include "cli/ModNames.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "mods/Arrangement.h"
#include "mods/ModTime.h"

namespace cli {

void RunMove(Session& session, const Invocation& invocation)
{
    const std::vector<mods::ModEntry> catalogue = session.Catalogue();
    const std::vector<int> selected = FindModRows(session, catalogue, invocation.operands);
    std::optional<int> anchor;
    if (invocation.placement == Placement::Before || invocation.placement == Placement::After) {
        anchor = FindModRow(session, catalogue, invocation.anchor);
        if (anchor && std::binary_search(selected.begin(), selected.end(), *anchor)) {
            session.Fail(fw::FormatText(texts::kAnchorMoved, invocation.anchor));
            return;
        }
    }
    // Nothing is moved unless every name is known: the block would not be the one asked for.
    if (session.Status() != kDone || selected.empty())
        return;

    mods::Arrangement arrangement;
    arrangement.Reset(catalogue);
    const int count = static_cast<int>(catalogue.size());
    switch (invocation.placement) {
    // As rows dragged there: nothing moves when they land where they are.
    case Placement::Top: arrangement.MoveBefore(selected, 0); break;
    case Placement::Bottom: arrangement.MoveBefore(selected, count); break;
    case Placement::Before: arrangement.MoveBefore(selected, *anchor); break;
    case Placement::After: arrangement.MoveBefore(selected, *anchor + 1); break;
    case Placement::None: return;
    }
    const bool sameOrder = std::equal(catalogue.begin(), catalogue.end(), arrangement.Rows().begin(),
                                      [](const mods::ModEntry& a, const mods::ArrangedMod& b) { return a.fileName == b.name; });
    if (sameOrder) {
        session.Say(texts::kAlreadyInPlace);
        return;
    }
    std::vector<mods::FileFailure> failures;
    if (!session.Ran(session.Writer().WriteOrder(arrangement.Listed(), session.Files().CurrentTime(), failures)))
        return;
    for (const mods::FileFailure& failure : failures)
        session.Fail(fw::FormatText(texts::kCannotWriteTime, failure.fileName, session.Reason(failure.status)));
    if (failures.empty())
        session.Say(fw::FormatText(texts::kMoved, ModCount(selected.size())));
}

}  // namespace cli
