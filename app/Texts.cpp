#include "app/Texts.h"

#include "app/TextsChinese.h"
#include "app/TextsEnglish.h"

namespace texts {
namespace {

using Words = std::array<const wchar_t*, kTextCount>;

// Every name's words in `table`; a name the table lacks keeps `fallback`'s.
template <std::size_t N>
constexpr Words WordsOf(const TextEntry (&table)[N], const Words& fallback)
{
    Words words = fallback;
    for (const TextEntry& entry : table)
        words[static_cast<std::size_t>(entry.id)] = entry.words;
    return words;
}

constexpr Words kNoWords = [] {
    Words words{};
    words.fill(L"");
    return words;
}();
constexpr Words kChineseWords = WordsOf(kChineseTable, kNoWords);
constexpr Words kEnglishWords = WordsOf(kEnglishTable, kChineseWords);

constexpr const char* kNames[] = {
#define PAKORDER_TEXT(name) #name,
#include "app/TextNames.def"
#undef PAKORDER_TEXT
};

Language g_language = Language::Chinese;

}  // namespace

constinit Words detail::g_shown = kChineseWords;

void SetLanguage(Language language)
{
    g_language = language;
    detail::g_shown = language == Language::English ? kEnglishWords : kChineseWords;
}

Language CurrentLanguage() { return g_language; }

std::span<const TextEntry> Table(Language language)
{
    if (language == Language::English)
        return kEnglishTable;
    return kChineseTable;
}

const char* NameOf(Id id) { return kNames[static_cast<std::size_t>(id)]; }

}  // namespace texts
