#include <gtest/gtest.h>

#include <string>

#include "mods/Arrangement.h"

using namespace mods;

namespace {

// Mods named by letter, loaded in the order given, at times 10, 20, 30, ...
std::vector<ModEntry> Catalogue(const std::wstring& order, const std::wstring& times = {})
{
    std::vector<ModEntry> entries;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const FileTime time = times.empty() ? FileTime(10 * (i + 1)) : FileTime(times[i] - L'0') * 10;
        entries.push_back(ModEntry{std::wstring(1, order[i]), time, {}});
    }
    return entries;
}

// The rows as letters, a moved row followed by '*'.
std::wstring Shown(const Arrangement& arrangement)
{
    std::wstring shown;
    for (const ArrangedMod& row : arrangement.Rows())
        shown += row.name + (row.marked ? L"*" : L"");
    return shown;
}

TEST(Arrangement, MovesAreTakenBackOneAtATimeDownToTheReadState)
{
    Arrangement arrangement;
    arrangement.Reset(Catalogue(L"abcdef"));
    ASSERT_EQ(arrangement.Move({1, 3}, ReorderCommand::Bottom), 4);
    ASSERT_EQ(arrangement.Move({0}, ReorderCommand::Down), 1);
    ASSERT_EQ(arrangement.Move({4, 5}, ReorderCommand::Up), 3);
    EXPECT_EQ(Shown(arrangement), L"ca*eb*d*f");
    EXPECT_EQ(arrangement.MarkedCount(), 3);

    EXPECT_EQ(arrangement.UndoMove(), std::vector<int>({4, 5}));
    EXPECT_EQ(Shown(arrangement), L"ca*efb*d*");
    EXPECT_EQ(arrangement.UndoMove(), std::vector<int>({0}));
    EXPECT_EQ(Shown(arrangement), L"acefb*d*");
    EXPECT_EQ(arrangement.UndoMove(), std::vector<int>({1, 3}));
    EXPECT_EQ(Shown(arrangement), L"abcdef");
    EXPECT_FALSE(arrangement.HasUnwrittenMoves());
    EXPECT_FALSE(arrangement.UndoMove());
}

struct FollowCase {
    int line;
    std::wstring moves;     // rows to move to the top before the folder changes, as letters
    std::wstring disk;      // the folder afterwards, in load order
    std::wstring times;     // their times in tens, one digit each
    std::wstring retimed;   // mods whose time the program just set
    std::wstring expected;  // the rows shown, moved rows with '*'
};

TEST(Arrangement, FollowingTheFolderKeepsTheArrangement)
{
    const FollowCase cases[] = {
        // a deleted row goes, the others keep their places and marks
        {__LINE__, L"c", L"abce", L"1235", L"", L"c*abe"},
        {__LINE__, L"d", L"abcde", L"12345", L"d", L"abcde"},
        // a new mod goes among the unmarked rows where its time puts it
        {__LINE__, L"d", L"abxcde", L"123456", L"", L"d*abxce"},
        {__LINE__, L"", L"xabcde", L"012345", L"", L"xabcde"},
        {__LINE__, L"e", L"abcdex", L"123459", L"", L"e*abcdx"},
        // a hand-set time moves the row to where the game loads it
        {__LINE__, L"d", L"bcdea", L"23459", L"a", L"d*bcea"},
        {__LINE__, L"e", L"eabcd", L"01234", L"e", L"eabcd"},
        {__LINE__, L"b", L"acbde", L"13345", L"b", L"acbde"},
    };
    for (const FollowCase& c : cases) {
        Arrangement arrangement;
        arrangement.Reset(Catalogue(L"abcde"));
        for (wchar_t name : c.moves) {
            for (int row = 0; row < static_cast<int>(arrangement.Rows().size()); ++row)
                if (arrangement.Rows()[row].name == std::wstring(1, name))
                    arrangement.Move({row}, ReorderCommand::Top);
        }
        std::vector<std::wstring> retimed;
        for (wchar_t name : c.retimed)
            retimed.emplace_back(1, name);
        arrangement.Follow(Catalogue(c.disk, c.times), retimed);
        EXPECT_EQ(Shown(arrangement), c.expected) << "line " << c.line;
        EXPECT_FALSE(arrangement.CanUndoMove()) << "line " << c.line;
        EXPECT_TRUE(arrangement.Matches(Catalogue(c.disk, c.times))) << "line " << c.line;
    }
}

TEST(Arrangement, MatchesOnlyTheFolderAsShown)
{
    Arrangement arrangement;
    arrangement.Reset(Catalogue(L"abc"));
    arrangement.Move({2}, ReorderCommand::Top);
    EXPECT_TRUE(arrangement.Matches(Catalogue(L"abc")));
    EXPECT_FALSE(arrangement.Matches(Catalogue(L"abcd")));
    EXPECT_FALSE(arrangement.Matches(Catalogue(L"ab")));
    EXPECT_FALSE(arrangement.Matches(Catalogue(L"abx")));
    EXPECT_FALSE(arrangement.Matches(Catalogue(L"abc", L"124")));
    arrangement.Rename(arrangement.Rows()[0].name, L"C");
    EXPECT_FALSE(arrangement.Matches(Catalogue(L"abc")));
    EXPECT_TRUE(arrangement.Matches(Catalogue(L"abC")));
}

}  // namespace

namespace {

TEST(Arrangement, ARearrangementMarksWhatMovedAndIsTakenBackInOneStep)
{
    Arrangement arrangement;
    arrangement.Reset(Catalogue(L"abcdef"));
    arrangement.Move({5}, ReorderCommand::Top);
    ASSERT_EQ(Shown(arrangement), L"f*abcde");
    EXPECT_EQ(arrangement.MoveBefore({1, 2}, 5), 3);
    ASSERT_EQ(Shown(arrangement), L"f*cda*b*e");

    // Row 0 stays where it is and keeps its mark; the rest are new places.
    EXPECT_EQ(arrangement.Rearrange({0, 5, 3, 4, 2, 1}), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Shown(arrangement), L"f*e*a*b*d*c*");
    EXPECT_EQ(arrangement.MarkedNames(), (std::vector<std::wstring>{L"f", L"e", L"a", L"b", L"d", L"c"}));
    EXPECT_TRUE(arrangement.Rearrange({0, 1, 1, 3, 4, 5}).empty());  // not a permutation
    EXPECT_TRUE(arrangement.Rearrange({0, 1, 2}).empty());
    EXPECT_EQ(Shown(arrangement), L"f*e*a*b*d*c*");

    EXPECT_EQ(arrangement.UndoMove(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Shown(arrangement), L"f*cda*b*e");
    const std::vector<ListedMod> listed = arrangement.Listed();
    ASSERT_EQ(listed.size(), 6u);
    EXPECT_EQ(listed[3].name, L"a");
    EXPECT_TRUE(listed[3].marked);
    EXPECT_FALSE(listed[1].marked);
    arrangement.UndoMove();
    arrangement.UndoMove();
    EXPECT_EQ(Shown(arrangement), L"abcdef");
}

}  // namespace
