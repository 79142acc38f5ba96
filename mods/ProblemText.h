#pragma once
// What is said of each of the core's problems, by every front end: which
// of the problem texts (ProblemTextNames.def) and the values that fill it.
// The words are each front end's own, in its tables; a failure of the
// system's stays a status, for each front end to word as it words the
// others. One function per kind of problem, so the window and the command
// line cannot come to mean different things by one.

#include <array>
#include <cstddef>
#include <string>
#include <variant>
#include <vector>

#include "mods/Conflicts.h"
#include "mods/FileFailure.h"
#include "mods/FolderRestore.h"
#include "mods/Install.h"
#include "mods/ModList.h"
#include "platform/FileSystem.h"

namespace mods {

enum class ProblemTextId : unsigned char {
#define PAKORDER_TEXT(name, values) name,
#include "mods/ProblemTextNames.def"
#undef PAKORDER_TEXT
};

// The count of values each takes, as the names file declares it.
inline constexpr int kProblemTextValues[] = {
#define PAKORDER_TEXT(name, values) values,
#include "mods/ProblemTextNames.def"
#undef PAKORDER_TEXT
};
inline constexpr std::size_t kProblemTextCount = std::size(kProblemTextValues);

// A name or a number as it is shown, or a failure for the front end to word.
using ProblemValue = std::variant<std::wstring, int, platform::FsStatus>;

struct ProblemText {
    ProblemTextId id = ProblemTextId::kSystemFailure;
    std::vector<ProblemValue> values;  // as many as the names file declares for `id`
};

ProblemText TextOf(const NotRestored& mod);
ProblemText TextOf(const NotInstalled& mod);
ProblemText TextOf(const UncheckedMod& mod);
// `file` is the list as the player named it.
ProblemText TextOf(const ModListProblem& problem, const std::wstring& file);
// A mod's pak or companion that could not be renamed (enabling, disabling)
// or deleted.
ProblemText NotRenamed(const FileFailure& failure);
ProblemText NotDeleted(const FileFailure& failure);

// `words` (the front end's for text.id) filled with the values, each
// failure in the words `reason` gives it.
std::wstring Worded(const ProblemText& text, const wchar_t* words, std::wstring (*reason)(platform::FsStatus));

// A front end's own name for a problem text: `Id` is the enum of its names
// file, which includes ProblemTextNames.def.
template <class Id>
constexpr Id FrontEndTextId(ProblemTextId id)
{
    constexpr Id kIds[] = {
#define PAKORDER_TEXT(name, values) Id::name,
#include "mods/ProblemTextNames.def"
#undef PAKORDER_TEXT
    };
    return kIds[static_cast<std::size_t>(id)];
}

}  // namespace mods
