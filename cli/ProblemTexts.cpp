#include "cli/ProblemTexts.h"

#include "cli/System.h"
#include "cli/Texts.h"

namespace cli {
namespace {

constexpr int kValues[] = {
#define PAKORDER_TEXT(name, values, words) values,
#include "cli/Texts.def"
#undef PAKORDER_TEXT
};

// Texts.def gives the core's problems their words and repeats their counts.
#define PAKORDER_TEXT(name, values)                                          \
    static_assert(kValues[static_cast<std::size_t>(texts::Id::name)] == values, \
                  #name " takes another count of values in cli/Texts.def than in mods/ProblemTextNames.def");
#include "mods/ProblemTextNames.def"
#undef PAKORDER_TEXT

}  // namespace

std::wstring ProblemWords(const mods::ProblemText& problem)
{
    return mods::Worded(problem, texts::Words(mods::FrontEndTextId<texts::Id>(problem.id)), SystemReason);
}

}  // namespace cli
