#pragma once
// Letter case as Windows folds it when it compares names ignoring case, the
// same on every system: one letter to one letter, for the cased letters of
// Latin, Greek, Cyrillic and Armenian and the full-width Latin letters.

#include <string>
#include <string_view>

namespace platform {

// The upper-case letter of `c`, or `c` when it has none.
wchar_t UpperCaseOf(wchar_t c);

// The text with every letter upper-cased: a key for comparing names as
// Windows does.
std::wstring FoldedCase(std::wstring_view text);

}  // namespace platform
