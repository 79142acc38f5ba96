#pragma once
// A text of the program's, by the name its names file gives it (each front
// end has one: app/TextNames.def, cli/TextNames.def). A text that takes
// values is a handle on its words, carrying the count of values its names
// file declares, so that fw::FormatText with another count does not
// compile; a text that takes none is its words, a plain `const wchar_t*`.

#include <array>
#include <cstddef>

namespace fw {

template <int Values>
class Text {
public:
    static_assert(Values > 0, "a text without values is its words");

    // `shown` is where the words shown now are kept: a change of language
    // changes them there.
    explicit constexpr Text(const wchar_t* const& shown) : shown_(&shown) {}
    const wchar_t* Words() const { return *shown_; }

private:
    const wchar_t* const* shown_;
};

// The type of a name declared with `Values` values.
template <int Values>
struct NamedText {
    using Type = Text<Values>;
};
template <>
struct NamedText<0> {
    using Type = const wchar_t* const&;
};

// One line of a language's table of words.
template <class Id>
struct TextEntry {
    Id id;
    const wchar_t* words;
};

// Every name's words in `table`, by name; a name the table lacks keeps `fallback`'s.
template <class Id, std::size_t Count, std::size_t N>
constexpr std::array<const wchar_t*, Count> WordsOf(const TextEntry<Id> (&table)[N],
                                                    const std::array<const wchar_t*, Count>& fallback)
{
    std::array<const wchar_t*, Count> words = fallback;
    for (const TextEntry<Id>& entry : table)
        words[static_cast<std::size_t>(entry.id)] = entry.words;
    return words;
}

}  // namespace fw
