#pragma once
// The command line's words for the core's problems (mods/ProblemText.h).

#include <string>

#include "mods/ProblemText.h"

namespace cli {

// The words of the command line's table for `problem`, each failure of the
// system's as SystemReason words it.
std::wstring ProblemWords(const mods::ProblemText& problem);

}  // namespace cli
