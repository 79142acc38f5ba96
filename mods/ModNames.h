#pragma once
// What a name given for a mod means: its file name, or its name without the
// extension, compared as Windows compares names; the exact spelling wins
// when the folder holds several that differ only in case.

#include <string>
#include <vector>

#include "mods/ModCatalogue.h"

namespace mods {

struct NameMatch {
    // The rows the name means: one when it names a mod; none when no mod
    // has that name; several when it could be any of them.
    std::vector<int> rows;
};

NameMatch ResolveModName(const std::vector<ModEntry>& rows, const std::wstring& name);

}  // namespace mods
