#include "app/Texts.h"

#include "app/TextsChinese.h"
#include "app/TextsEnglish.h"

namespace texts {
namespace {

using AllWords = std::array<const wchar_t*, kTextCount>;

constexpr AllWords kNoWords = [] {
    AllWords words{};
    words.fill(L"");
    return words;
}();
constexpr AllWords kChineseWords = fw::WordsOf(kChineseTable, kNoWords);
constexpr AllWords kEnglishWords = fw::WordsOf(kEnglishTable, kChineseWords);

constexpr const char* kNames[] = {
#define PAKORDER_TEXT(name, values) #name,
#include "app/TextNames.def"
#undef PAKORDER_TEXT
};

constexpr int kValues[] = {
#define PAKORDER_TEXT(name, values) values,
#include "app/TextNames.def"
#undef PAKORDER_TEXT
};

Language g_language = Language::Chinese;

}  // namespace

constinit AllWords detail::g_shown = kChineseWords;

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

int ValuesOf(Id id) { return kValues[static_cast<std::size_t>(id)]; }

}  // namespace texts
