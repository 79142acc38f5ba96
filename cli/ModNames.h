#pragma once
// The mods a command's NAMEs mean: a mod's file name, or its name without
// the extension, compared as Windows compares names; the exact spelling
// wins when the folder holds several that differ only in case.

#include <optional>
#include <string>
#include <vector>

#include "mods/ModCatalogue.h"

namespace cli {

class Session;

// The row of the mod the name means; empty, after failing with the
// reason (no such mod, more than one), when there is none.
std::optional<int> FindModRow(Session& session, const std::vector<mods::ModEntry>& rows, const std::wstring& name);

// The rows of every name that means one mod, ascending, each once; the
// others are named as failures.
std::vector<int> FindModRows(Session& session, const std::vector<mods::ModEntry>& rows,
                             const std::vector<std::wstring>& names);

}  // namespace cli
