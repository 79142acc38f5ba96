#pragma once
// The overlaps the player intends, as list, conflicts and intend read them:
// the file beside the folder's records, each line at fault named on stderr
// and skipped, the other pairs kept.

#include <string>
#include <vector>

#include "mods/IntendedOverlaps.h"

namespace cli {

class Session;

// The pairs; none when there is no place for records or no file. A file
// that cannot be read, or is not one, is named, and nothing is taken from it.
std::vector<mods::IntendedOverlap> ReadIntendedPairs(Session& session);

// Names each problem of the file at `path`; true when one is of the whole
// file (its first line, its size), which is then not to be rewritten.
bool WarnOverlapsProblems(Session& session, const std::wstring& path,
                          const std::vector<mods::OverlapsProblem>& problems);

}  // namespace cli
