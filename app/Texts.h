#pragma once
// Every text the program shows, by name, in the language chosen:
// texts::kModCount reads "总共 %d 个MOD", or "Mods in all: %d" once English
// is chosen. The names are listed in TextNames.def; each language gives
// every name its words in a table of its own, TextsChinese.h (the default)
// and TextsEnglish.h, and a test finds a name a table lacks or repeats, or
// words whose %s and %d are not as many as the names file says. A new text
// is one line in each of the three.
//
// The program's name, the caption of its own message boxes, is the string
// resource AppTitle() reads (res/PakOrder.rc): the same in every language.

#include <array>
#include <span>

#include "base/Text.h"

namespace texts {

enum class Language { Chinese, English };

// Every name reads the words of `language` from now on.
void SetLanguage(Language language);
Language CurrentLanguage();

enum class Id : unsigned short {
#define PAKORDER_TEXT(name, values) name,
#include "app/TextNames.def"
#undef PAKORDER_TEXT
};
inline constexpr std::size_t kTextCount = 0
#define PAKORDER_TEXT(name, values) +1
#include "app/TextNames.def"
#undef PAKORDER_TEXT
    ;

namespace detail {
// The words shown, one per name: Chinese from the start.
extern constinit std::array<const wchar_t*, kTextCount> g_shown;
}  // namespace detail

// Each name is the words shown for it: a `const wchar_t*` like any text
// when it takes no values, else a fw::Text that fw::FormatText fills.
#define PAKORDER_TEXT(name, values)                                     \
    inline constexpr fw::NamedText<values>::Type name{detail::g_shown[static_cast<std::size_t>(Id::name)]};
#include "app/TextNames.def"
#undef PAKORDER_TEXT

// The words shown now for a name.
inline const wchar_t* Words(Id id) { return detail::g_shown[static_cast<std::size_t>(id)]; }

using TextEntry = fw::TextEntry<Id>;
std::span<const TextEntry> Table(Language language);
// The name as spelled in the code ("kModCount"), for a test to report.
const char* NameOf(Id id);
// The count of values the names file declares for it.
int ValuesOf(Id id);

}  // namespace texts
