// The file of overlaps the player intends: what the writer makes, what the
// reader takes from a file edited by hand (a bad line is named and the
// others still count), and its place and durable write.
#include <gtest/gtest.h>

#include "mods/IntendedOverlaps.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/FaultyFileSystem.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(IntendedOverlaps, TheTextRoundTripsAndNamesThatCannotBeModsAreLeftOut)
{
    const std::vector<IntendedOverlap> pairs{{L"BetterLoot Patch", L"BetterLoot"}, {L" 更多宠物 v2", L"a.b"}, {L"x", L"X"}, {L"a/b", L"c"}};
    const std::string text = FormatIntendedOverlaps(pairs);
    EXPECT_EQ(text.substr(0, text.find('\n')), "# PakOrder intended overlaps 1");
    EXPECT_NE(text.find("\nBetterLoot Patch > BetterLoot\n 更多宠物 v2 > a.b\n"), std::string::npos) << text;
    std::vector<OverlapsProblem> problems;
    EXPECT_EQ(ParseIntendedOverlaps(Bytes(text), problems), (std::vector<IntendedOverlap>{pairs[0], pairs[1]}));
    EXPECT_TRUE(problems.empty());

    std::vector<IntendedOverlap> kept = {pairs[0]};
    EXPECT_FALSE(AddOverlap(kept, {L"betterloot patch", L"BETTERLOOT"}));
    EXPECT_TRUE(AddOverlap(kept, {L"BetterLoot", L"BetterLoot Patch"}));  // the other way round is another pair
    EXPECT_TRUE(RemoveOverlap(kept, {L"BETTERLOOT PATCH", L"betterloot"}));
    EXPECT_FALSE(RemoveOverlap(kept, {L"BetterLoot Patch", L"BetterLoot"}));
    EXPECT_EQ(kept, (std::vector<IntendedOverlap>{{L"BetterLoot", L"BetterLoot Patch"}}));
}

TEST(IntendedOverlaps, ABadLineIsNamedAndTheOtherPairsStillCount)
{
    struct Case {
        int line;
        std::string text;
        std::size_t pairs;  // read, of "a > b" and "c > d" around the line
        std::vector<std::pair<OverlapsFault, int>> problems;
    };
    const std::string head = "\xEF\xBB\xBF# PakOrder intended overlaps 1\r\n# mine\r\n\r\na > b\r\n";
    const Case cases[] = {
        {__LINE__, head + "c > d\n", 2, {}},
        {__LINE__, head + "c\t>\td  \n", 2, {}},
        {__LINE__, head + "nonsense\nc > d\n", 2, {{OverlapsFault::BadLine, 5}}},
        {__LINE__, head + "c>d\ne >f\nc > d\n", 2, {{OverlapsFault::BadLine, 5}, {OverlapsFault::BadLine, 6}}},
        {__LINE__, head + " > d\nc > d\n", 2, {{OverlapsFault::BadLine, 5}}},
        {__LINE__, head + "c > \xC3\x28\nc > d\n", 2, {{OverlapsFault::BadLine, 5}}},
        {__LINE__, head + std::string("c > d\0e\n", 8) + "c > d\n", 2, {{OverlapsFault::BadLine, 5}}},
        {__LINE__, head + "c > d/e\nNUL > x\nc > d\n", 2, {{OverlapsFault::BadName, 5}, {OverlapsFault::BadName, 6}}},
        {__LINE__, head + "Q > q\nc > d\n", 2, {{OverlapsFault::SameMod, 5}}},
        {__LINE__, head + "A > B\nc > d\n", 2, {{OverlapsFault::Duplicate, 5}}},
        {__LINE__, head + "b > a\nc > d\n", 3, {}},
        {__LINE__, "# PakOrder intended overlaps 2\na > b\n", 0, {{OverlapsFault::OtherVersion, 1}}},
        {__LINE__, "# PakOrder mod list 1\n+ a\n", 0, {{OverlapsFault::NotOverlapsFile, 1}}},
        {__LINE__, "", 0, {{OverlapsFault::NotOverlapsFile, 1}}},
        {__LINE__, std::string(kMaxIntendedOverlapsBytes + 1, '#'), 0, {{OverlapsFault::TooLarge, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<OverlapsProblem> problems;
        const std::vector<IntendedOverlap> pairs = ParseIntendedOverlaps(Bytes(c.text), problems);
        EXPECT_EQ(pairs.size(), c.pairs) << "line " << c.line;
        std::vector<std::pair<OverlapsFault, int>> named;
        for (const OverlapsProblem& problem : problems)
            named.emplace_back(problem.fault, problem.line);
        EXPECT_EQ(named, c.problems) << "line " << c.line;
    }
    std::vector<OverlapsProblem> problems;
    ParseIntendedOverlaps(Bytes(head + "a > CON\n"), problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].name, L"CON");
}

TEST(IntendedOverlaps, TheFileLivesBesideTheRecordsAndIsWrittenDurably)
{
    TempFolder root;
    const std::wstring records = platform::JoinPath(root.path(), L"History\\1234");
    const std::wstring path = IntendedOverlapsPath(records);
    EXPECT_EQ(platform::GetFolderOfPath(path), platform::GetFolderOfPath(platform::JoinPath(records, L"x")));
    FaultyFileSystem fs(platform::SystemFileSystem());

    std::vector<IntendedOverlap> pairs{{L"old", L"pair"}};
    std::vector<OverlapsProblem> problems;
    ASSERT_TRUE(ReadIntendedOverlaps(fs, path, pairs, problems).ok());  // no file yet: no pairs
    EXPECT_TRUE(pairs.empty());
    EXPECT_TRUE(problems.empty());

    ASSERT_TRUE(WriteIntendedOverlaps(fs, path, {{L"b", L"a"}}).ok());
    fs.durableWritesBeforeFailure = 0;
    EXPECT_FALSE(WriteIntendedOverlaps(fs, path, {{L"c", L"a"}}).ok());
    ASSERT_TRUE(ReadIntendedOverlaps(fs, path, pairs, problems).ok());
    EXPECT_EQ(pairs, (std::vector<IntendedOverlap>{{L"b", L"a"}}));

    fs.unreadable.insert(path);
    EXPECT_FALSE(ReadIntendedOverlaps(fs, path, pairs, problems).ok());
}

}  // namespace
