#include "cli/IntendedPairs.h"

#include "base/FormatText.h"
#include "cli/Session.h"
#include "cli/Texts.h"

namespace cli {

std::vector<mods::IntendedOverlap> ReadIntendedPairs(Session& session)
{
    std::vector<mods::IntendedOverlap> pairs;
    mods::ChangeHistory* history = session.History();
    if (!history)
        return pairs;
    const std::wstring path = mods::IntendedOverlapsPath(history->RecordsFolder());
    std::vector<mods::OverlapsProblem> problems;
    const platform::FsStatus read = mods::ReadIntendedOverlaps(session.Files(), path, pairs, problems);
    if (!read.ok())
        session.Warn(fw::FormatText(texts::kCannotReadList, path, session.Reason(read)));
    WarnOverlapsProblems(session, path, problems);
    return pairs;
}

bool WarnOverlapsProblems(Session& session, const std::wstring& path, const std::vector<mods::OverlapsProblem>& problems)
{
    bool wholeFile = false;
    for (const mods::OverlapsProblem& problem : problems) {
        switch (problem.fault) {
        case mods::OverlapsFault::NotOverlapsFile:
            session.Warn(fw::FormatText(texts::kNotAnOverlapsFile, path));
            wholeFile = true;
            break;
        case mods::OverlapsFault::OtherVersion:
            session.Warn(fw::FormatText(texts::kOtherOverlapsVersion, path));
            wholeFile = true;
            break;
        case mods::OverlapsFault::TooLarge:
            session.Warn(fw::FormatText(texts::kOverlapsTooLarge, path, static_cast<int>(mods::kMaxIntendedOverlapsBytes >> 20)));
            wholeFile = true;
            break;
        case mods::OverlapsFault::BadLine:
            session.Warn(fw::FormatText(texts::kBadOverlapsLine, path, problem.line));
            break;
        case mods::OverlapsFault::BadName:
            session.Warn(fw::FormatText(texts::kBadOverlapsName, path, problem.line, problem.name));
            break;
        case mods::OverlapsFault::SameMod:
            session.Warn(fw::FormatText(texts::kOverlapsSameMod, path, problem.line, problem.name));
            break;
        case mods::OverlapsFault::Duplicate:
            session.Warn(fw::FormatText(texts::kDuplicateOverlap, path, problem.line));
            break;
        }
    }
    return wholeFile;
}

}  // namespace cli
