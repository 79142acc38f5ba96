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
#include "platform/LetterCase.h"
#include "platform/Paths.h"

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

    // Under the folder's lock: another pakorder's edit in between would be lost.
    mods::WriteOutcome outcome;
    const std::unique_ptr<platform::FileLock> lock = session.Writer().Lock(outcome);
    if (!session.Ran(outcome))
        return;
    const std::wstring path = mods::IntendedOverlapsPath(session.History()->RecordsFolder());
    std::vector<unsigned char> bytes;
    const platform::FsStatus read = session.Files().ReadWholeFile(path, mods::kMaxIntendedOverlapsBytes, bytes);
    std::vector<mods::OverlapsProblem> problems;
    if (platform::IsTooLarge(read)) {
        problems.push_back(mods::OverlapsProblem{mods::OverlapsFault::TooLarge, 0, {}});
    } else if (!read.ok() && !platform::IsNotFound(read)) {
        session.Fail(fw::FormatText(texts::kCannotReadList, path, session.Reason(read)));
        return;
    }
    // No file yet is a file without pairs.
    const std::vector<mods::IntendedOverlap> pairs =
        read.ok() ? mods::ParseIntendedOverlaps(bytes, problems) : std::vector<mods::IntendedOverlap>();
    if (WarnOverlapsProblems(session, path, problems)) {
        session.Fail(fw::FormatText(texts::kOverlapsNotRewritten, path));
        return;
    }
    bool marked = false;
    for (const mods::IntendedOverlap& p : pairs)
        marked = marked || mods::SameOverlap(p, pair);
    if (marked == add) {
        session.Say(fw::FormatText(add ? texts::kAlreadyIntended : texts::kNotIntended, pair.overriding, pair.overridden));
        return;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    platform::FsStatus written = session.Files().CreateFolders(platform::GetFolderOfPath(path));
    if (written.ok())
        written = session.Files().WriteFileDurably(path, add ? mods::WithOverlapAdded(text, pair)
                                                             : mods::WithOverlapRemoved(text, pair));
    if (!written.ok()) {
        session.Fail(fw::FormatText(texts::kCannotWriteOverlaps, path, session.Reason(written)));
        return;
    }
    session.Say(fw::FormatText(add ? texts::kIntended : texts::kUnintended, pair.overriding, pair.overridden));
}

}  // namespace cli
