#pragma once
// The window's words for the core's problems (mods/ProblemText.h), in the
// language chosen.

#include <string>

#include "mods/ProblemText.h"

// The words of the window's tables for `problem`, each failure of the
// system's as DescribeError words it.
std::wstring ProblemWords(const mods::ProblemText& problem);
