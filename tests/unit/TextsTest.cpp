// The texts of each language, the window's and the command line's: every
// name in each table once, as many values in its words as its names file
// declares, the same places for the values in both languages, a name in
// both front ends taking the same count, a switch reaching every name, and
// the choice as the INI keeps it.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/FailureTexts.h"
#include "app/LanguageSetting.h"
#include "app/Texts.h"
#include "cli/Texts.h"
#include "mods/ProblemText.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/Utf8.h"

namespace {

using texts::Language;

const Language kLanguages[] = {Language::Chinese, Language::English};

const char* NameOf(Language language) { return language == Language::English ? "English" : "Chinese"; }

// Every % of a text but "%%", with what follows it up to a letter other
// than l, in order: "%s" and "%d" are what FormatText fills.
std::vector<std::wstring> Placeholders(const std::wstring& text)
{
    std::vector<std::wstring> found;
    for (std::size_t at = 0; (at = text.find(L'%', at)) != std::wstring::npos;) {
        std::size_t end = at + 1;
        if (end < text.size() && text[end] == L'%') {  // a percent sign
            at = end + 1;
            continue;
        }
        while (end < text.size() && text[end] == L'l')
            ++end;
        found.push_back(text.substr(at, end + 1 - at));
        at = end + 1;
    }
    return found;
}

const wchar_t* Words(Language language, texts::Id id)
{
    for (const texts::TextEntry& entry : texts::Table(language))
        if (entry.id == id)
            return entry.words;
    return nullptr;
}

struct Declared {
    std::string_view name;
    int values;
};
constexpr Declared kWindowNames[] = {
#define PAKORDER_TEXT(name, values) {#name, values},
#include "app/TextNames.def"
#undef PAKORDER_TEXT
};
constexpr Declared kCommandLineNames[] = {
#define PAKORDER_TEXT(name, values, words) {#name, values},
#include "cli/Texts.def"
#undef PAKORDER_TEXT
};

TEST(Texts, EachTableHasEveryNameOnceWithItsWords)
{
    for (Language language : kLanguages) {
        std::vector<int> entries(texts::kTextCount, 0);
        for (const texts::TextEntry& entry : texts::Table(language)) {
            ASSERT_LT(static_cast<std::size_t>(entry.id), texts::kTextCount);
            ++entries[static_cast<std::size_t>(entry.id)];
            EXPECT_TRUE(entry.words && *entry.words) << NameOf(language) << " " << texts::NameOf(entry.id);
        }
        for (std::size_t id = 0; id < texts::kTextCount; ++id)
            EXPECT_EQ(entries[id], 1) << NameOf(language) << " " << texts::NameOf(static_cast<texts::Id>(id));
    }
    for (std::size_t id = 0; id < std::size(kCommandLineNames); ++id) {
        const wchar_t* words = cli::texts::Words(static_cast<cli::texts::Id>(id));
        EXPECT_TRUE(words && *words) << "command line " << kCommandLineNames[id].name;
    }
}

// What the names files declare is what fw::FormatText holds the calls to;
// a table whose words take another count would drop a value or show a %s.
TEST(Texts, EveryTableTakesTheValuesItsNamesFileDeclares)
{
    const auto check = [](const char* table, const char* name, const wchar_t* words, int declared) {
        int values = 0;
        for (const std::wstring& placeholder : Placeholders(words)) {
            if (placeholder == L"%s" || placeholder == L"%d")
                ++values;
            else
                ADD_FAILURE() << table << " " << name << ": " << testing::PrintToString(placeholder)
                              << " is not a value FormatText fills";
        }
        EXPECT_EQ(values, declared) << table << " " << name << ": " << testing::PrintToString(std::wstring(words));
    };
    for (Language language : kLanguages)
        for (const texts::TextEntry& entry : texts::Table(language))
            check(NameOf(language), texts::NameOf(entry.id), entry.words, texts::ValuesOf(entry.id));
    for (std::size_t id = 0; id < std::size(kCommandLineNames); ++id) {
        const Declared& text = kCommandLineNames[id];
        check("command line", text.name.data(), cli::texts::Words(static_cast<cli::texts::Id>(id)), text.values);
    }
}

// A name means one thing everywhere: the same name in the window and the
// command line takes the same values (the core's problems, named once, are
// in both).
TEST(Texts, ANameInBothFrontEndsTakesTheSameValues)
{
    int shared = 0;
    for (const Declared& window : kWindowNames)
        for (const Declared& commandLine : kCommandLineNames)
            if (window.name == commandLine.name) {
                ++shared;
                EXPECT_EQ(window.values, commandLine.values) << window.name;
            }
    EXPECT_GE(shared, static_cast<int>(mods::kProblemTextCount));
}

TEST(Texts, EnglishTakesTheValuesInTheChineseOrder)
{
    for (std::size_t i = 0; i < texts::kTextCount; ++i) {
        const auto id = static_cast<texts::Id>(i);
        const wchar_t* chinese = Words(Language::Chinese, id);
        const wchar_t* english = Words(Language::English, id);
        if (chinese && english) {
            EXPECT_EQ(Placeholders(english), Placeholders(chinese)) << texts::NameOf(id);
        }
    }
}

TEST(Texts, ASwitchReachesEveryNameAndTheSystemsReasons)
{
    struct ChineseAfterwards {
        ~ChineseAfterwards() { texts::SetLanguage(Language::Chinese); }
    } chineseAfterwards;
    const platform::FsStatus other{1};  // a failure without a text of ours: the system's words, or its number

    texts::SetLanguage(Language::English);
    EXPECT_EQ(texts::CurrentLanguage(), Language::English);
    EXPECT_STREQ(texts::kModCount.Words(), L"Mods in all: %d");
    EXPECT_STREQ(texts::kErrorOther.Words(), L"system error %d");
    EXPECT_EQ(DescribeError(platform::AlreadyExistsStatus()), L"a file of that name already exists");
    EXPECT_EQ(DescribeError(platform::NotRegularFileStatus()), L"not a regular file (a link, a pipe or a device)");
    const std::wstring reason = DescribeError(other);
    EXPECT_FALSE(reason.empty());
    for (wchar_t c : reason)
        EXPECT_LT(c, 0x2E80) << "a Chinese character in the English reason: " << testing::PrintToString(reason);

    texts::SetLanguage(Language::Chinese);
    EXPECT_STREQ(texts::kModCount.Words(), L"总共 %d 个MOD");
    EXPECT_EQ(DescribeError(platform::AlreadyExistsStatus()), L"已存在同名文件");
    EXPECT_EQ(DescribeError(platform::NotRegularFileStatus()), L"不是普通文件（链接、管道或设备）");
}

TEST(Texts, TheLanguageKeptInTheIni)
{
    const struct {
        const wchar_t* kept;  // null: no such key
        Language read;
    } rows[] = {
        {nullptr, Language::Chinese}, {L"English", Language::English}, {L"english", Language::English},
        {L"Chinese", Language::Chinese}, {L"Klingon", Language::Chinese}, {L"", Language::Chinese},
    };
    for (const auto& row : rows) {
        platform::MemoryProfile profile;
        if (row.kept)
            profile.Write(L"Settings", L"Language", row.kept);
        EXPECT_EQ(ReadLanguage(profile), row.read) << testing::PrintToString(std::wstring(row.kept ? row.kept : L"-"));
    }
    for (Language language : kLanguages) {
        platform::MemoryProfile profile;
        KeepLanguage(profile, language);
        EXPECT_EQ(ReadLanguage(profile), language) << NameOf(language);
    }
}

}  // namespace

namespace {

// The text without its spaces and line breaks, which the buttons and the
// README lay out each in their own way.
std::wstring Packed(std::wstring_view text)
{
    std::wstring packed;
    for (const wchar_t c : text)
        if (c != L' ' && c != L'\r' && c != L'\n' && c != L'\t')
            packed += c;
    return packed;
}

// Whether `quoted` (packed) is `text` as the program shows it: a value (a
// number, a name) where the text has a placeholder.
bool Shows(const std::wstring& text, const std::wstring& quoted)
{
    // The text's pieces between its placeholders, packed.
    std::vector<std::wstring> pieces{L""};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%' || i + 1 == text.size()) {
            pieces.back() += text[i];
        } else if (text[i + 1] == L'%') {
            pieces.back() += text[++i];
        } else {
            while (i + 1 < text.size() && text[i + 1] == L'l')
                ++i;
            ++i;
            pieces.emplace_back();
        }
    }
    for (std::wstring& piece : pieces)
        piece = Packed(piece);
    if (pieces.size() == 1)
        return quoted == pieces.front();
    // The first piece begins it and the last ends it; the others come in
    // order between, each value at least one letter.
    if (!quoted.starts_with(pieces.front()) || !quoted.ends_with(pieces.back()) ||
        quoted.size() < pieces.front().size() + pieces.back().size())
        return false;
    std::size_t at = pieces.front().size();
    const std::size_t end = quoted.size() - pieces.back().size();
    for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
        const std::size_t found = quoted.find(pieces[i], at + 1);
        if (found == std::wstring::npos || found + pieces[i].size() > end)
            return false;
        at = found + pieces[i].size();
    }
    return end > at;
}

// The players' README quotes the program's texts “so”: each is one of the
// texts the program shows, in one of its languages, so that it stays true
// when a text changes.
TEST(Texts, TheChineseReadmeQuotesOnlyTheProgramsOwnTexts)
{
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(platform::SystemFileSystem().ReadWholeFile(PAKORDER_README_ZH, 1 << 20, bytes).ok());
    const std::wstring readme = platform::FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    int quotes = 0;
    for (std::size_t open = 0; (open = readme.find(L'“', open)) != std::wstring::npos; ++open) {
        const std::size_t close = readme.find(L'”', open);
        ASSERT_NE(close, std::wstring::npos);
        const std::wstring quoted = Packed(readme.substr(open + 1, close - open - 1));
        bool known = false;
        for (const Language language : kLanguages)
            for (const texts::TextEntry& entry : texts::Table(language))
                known = known || Shows(entry.words, quoted);
        EXPECT_TRUE(known) << platform::ToUtf8(quoted);
        ++quotes;
    }
    EXPECT_GT(quotes, 20);

    EXPECT_TRUE(Shows(L"总共 %d 个MOD", L"总共12个MOD"));
    EXPECT_FALSE(Shows(L"总共 %d 个MOD", L"总共个MOD"));
    EXPECT_FALSE(Shows(L"智能\n\n排序", L"智能排序吧"));
}

}  // namespace
