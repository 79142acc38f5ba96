// Type-to-find: which row each typed letter goes to, with the focus where
// the window puts it after each find.

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/TypeToFind.h"

namespace {

struct Key {
    wchar_t letter;
    std::uint32_t time;
    std::optional<int> row;  // where it goes; empty: nowhere, the focus stays
};

struct Case {
    int line;
    int focused;
    std::vector<Key> keys;
};

TEST(TypeToFind, EachLetterGoesWhereExplorerWouldGo)
{
    const std::vector<std::wstring> names = {L"alpha.pak", L"beta.pak",  L"Bravo.G1O",
                                             L"charlie.pak", L"bob.pak", L"brass.pak"};
    constexpr std::uint32_t kLate = 0xFFFFFF00;  // GetTickCount about to wrap round
    const Case cases[] = {
        // A first letter moves on from the focus, in any case, round to the top.
        {__LINE__, 1, {{L'b', 10, 2}}},
        {__LINE__, 5, {{L'B', 10, 1}}},
        {__LINE__, -1, {{L'c', 10, 3}}},
        {__LINE__, 3, {{L'c', 10, 3}}},  // the only one: it stays
        // More letters keep the focused row while it matches (brass comes later), then move on.
        {__LINE__, 0, {{L'b', 10, 1}, {L'r', 500, 2}, {L'A', 900, 2}}},
        {__LINE__, 0, {{L'b', 10, 1}, {L'e', 500, 1}}},
        // A pause longer than a second starts a new name; a second exactly does not.
        {__LINE__, 0, {{L'b', 10, 1}, {L'c', 1011, 3}}},
        {__LINE__, 0, {{L'b', 10, 1}, {L'c', 1010, std::nullopt}}},
        // What matches nothing is still typed: the next letter adds to it.
        {__LINE__, 0, {{L'x', 10, std::nullopt}, {L'b', 20, std::nullopt}, {L'c', 2000, 3}}},
        // The clock wrapping round is no pause.
        {__LINE__, 0, {{L'b', kLate, 1}, {L'r', kLate + 500, 2}}},
        {__LINE__, 0, {{L'b', kLate, 1}, {L'c', kLate + 1200, 3}}},
    };
    for (const Case& c : cases) {
        TypeToFind typing;
        int focused = c.focused;
        for (const Key& key : c.keys) {
            const std::optional<int> row =
                typing.Type(key.letter, key.time, focused, static_cast<int>(names.size()),
                            [&](int i) -> const std::wstring& { return names[static_cast<std::size_t>(i)]; });
            EXPECT_EQ(row, key.row) << "line " << c.line << ", key " << static_cast<char>(key.letter);
            if (row)
                focused = *row;
        }
    }
}

TEST(TypeToFind, AnEmptyListFindsNothing)
{
    TypeToFind typing;
    EXPECT_EQ(typing.Type(L'a', 10, -1, 0, [](int) -> const std::wstring& { throw std::logic_error("no rows"); }),
              std::nullopt);
}

}  // namespace
