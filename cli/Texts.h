#pragma once
// Every text the command line shows, by name: each is a line of Texts.def,
// with the count of values it takes and its words. A test finds words whose
// %s and %d are not as many as the line says. A text that takes no values
// is its words, a `const wchar_t*`; one that takes values is a fw::Text,
// which fw::FormatText fills with exactly that many.

#include <cstddef>

#include "base/Text.h"

namespace cli::texts {

enum class Id : unsigned short {
#define PAKORDER_TEXT(name, values, words) name,
#include "cli/Texts.def"
#undef PAKORDER_TEXT
};

namespace detail {
inline constexpr const wchar_t* kWords[] = {
#define PAKORDER_TEXT(name, values, words) words,
#include "cli/Texts.def"
#undef PAKORDER_TEXT
};
}  // namespace detail

#define PAKORDER_TEXT(name, values, words) \
    inline constexpr fw::NamedText<values>::Type name{detail::kWords[static_cast<std::size_t>(Id::name)]};
#include "cli/Texts.def"
#undef PAKORDER_TEXT

inline const wchar_t* Words(Id id) { return detail::kWords[static_cast<std::size_t>(id)]; }

}  // namespace cli::texts
