// The mod list's text: what the writer makes, what the reader takes, and the
// bad input it refuses with a reason; and what an import does to the rows.
#include <gtest/gtest.h>

#include "mods/Arrangement.h"
#include "mods/ListImport.h"
#include "mods/ModList.h"

using namespace mods;

namespace {

std::vector<unsigned char> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(ModList, TextRoundTripsOrderAndStates)
{
    const std::vector<ModListEntry> mods{{L"BetterLoot", true}, {L"更多宠物 v2.1", false}, {L"a.b", true}, {L"😀", false}};
    std::vector<std::wstring> leftOut;
    const std::string text = FormatModList(mods, &leftOut);
    EXPECT_EQ(text.substr(0, text.find('\n')), "# PakOrder mod list 1");
    EXPECT_NE(text.find("\n+ BetterLoot\n- 更多宠物 v2.1\n+ a.b\n- 😀\n"), std::string::npos) << text;
    EXPECT_TRUE(leftOut.empty());
    ModListProblem problem;
    const auto read = ParseModList(Bytes(text), problem);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, mods);

    // CRLF, a byte-order mark, comments, blank lines, a tab after the mark
    // and spaces at line ends, as an editor on Windows leaves them.
    const auto edited = ParseModList(
        Bytes("\xEF\xBB\xBF# PakOrder mod list 1\r\n# mine\r\n\r\n+ x  \r\n#- y\r\n-\tz\r\n+ # not a comment"), problem);
    ASSERT_TRUE(edited);
    EXPECT_EQ(*edited, (std::vector<ModListEntry>{{L"x", true}, {L"z", false}, {L"# not a comment", true}}));

    // Overlaps the player intends ride along; a reader of the mods alone passes over them.
    const std::vector<IntendedOverlap> intended{{L"a.b", L"BetterLoot"}, {L"😀 patch", L"更多宠物 v2.1"}, {L"x", L"x"}};
    const std::string withPairs = FormatModList(mods, intended, &leftOut);
    EXPECT_NE(withPairs.find("\n= a.b > BetterLoot\n= 😀 patch > 更多宠物 v2.1\n"), std::string::npos) << withPairs;
    EXPECT_EQ(withPairs.find("x > x"), std::string::npos);
    const auto contents = ParseModListContents(Bytes(withPairs), problem);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->mods, mods);
    EXPECT_EQ(contents->intended, (std::vector<IntendedOverlap>{intended[0], intended[1]}));
    EXPECT_EQ(ParseModList(Bytes(withPairs), problem), mods);
    EXPECT_EQ(FormatModList(mods), FormatModList(mods, {}));

    EXPECT_EQ(ModListEntryOf(L"a.b.G1O"), (ModListEntry{L"a.b", false}));
    EXPECT_EQ(ModListEntryOf(L"Mod.PAK"), (ModListEntry{L"Mod", true}));
}

TEST(ModList, NamesThatCannotBeFileNamesAreLeftOutOrRefused)
{
    struct Case {
        int line;
        std::wstring name;
        bool fileName;
    };
    const Case cases[] = {
        {__LINE__, L"ok", true},
        {__LINE__, L"COM10", true},
        {__LINE__, L"console", true},
        {__LINE__, L".hidden", true},
        {__LINE__, L"", false},
        {__LINE__, L"a/b", false},
        {__LINE__, L"a\\b", false},
        {__LINE__, L"..\\..\\x", false},
        {__LINE__, L"C:x", false},
        {__LINE__, L"a?", false},
        {__LINE__, L"a\"b", false},
        {__LINE__, L"tab\there", false},
        {__LINE__, L"line\nbreak", false},
        {__LINE__, L"ends with space ", false},
        {__LINE__, L"con", false},
        {__LINE__, L"NUL.x", false},
        {__LINE__, L"lpt1", false},
        {__LINE__, L"Com\u00B9", false},
        {__LINE__, L"aux ", false},
        {__LINE__, std::wstring(247, L'x'), true},
        {__LINE__, std::wstring(248, L'x'), false},
        {__LINE__, std::wstring(82, L'火'), true},  // 246 bytes of UTF-8
        {__LINE__, std::wstring(83, L'火'), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsModListName(c.name), c.fileName) << "line " << c.line;
        std::vector<std::wstring> leftOut;
        const std::string text = FormatModList({{c.name, true}, {L"after", false}}, &leftOut);
        EXPECT_EQ(leftOut.size(), c.fileName ? 0u : 1u) << "line " << c.line;
        ModListProblem problem;
        const auto read = ParseModList(Bytes(text), problem);
        ASSERT_TRUE(read) << "line " << c.line;
        EXPECT_EQ(read->size(), c.fileName ? 2u : 1u) << "line " << c.line;
    }
}

TEST(ModList, ModsThatShareANameAreFoundSoThatNoListNamesOneTwice)
{
    struct Case {
        int line;
        std::vector<ModListEntry> mods;
        std::vector<std::wstring> twice;
    };
    const Case cases[] = {
        {__LINE__, {{L"a", true}, {L"b", true}, {L"c", false}}, {}},
        {__LINE__, {{L"a", true}, {L"a", false}}, {L"a"}},                                     // a.pak beside a.G1O
        {__LINE__, {{L"Mod", true}, {L"b", true}, {L"MOD", false}, {L"mod", true}}, {L"Mod"}},  // once, as first spelt
        {__LINE__, {{L"été", true}, {L"ÉTÉ", false}}, {L"été"}},
        {__LINE__, {{L"x", true}, {L"y", true}, {L"Y", false}, {L"X", false}}, {L"y", L"x"}},
        {__LINE__, {{L"con", true}, {L"CON", false}, {L"a", true}}, {}},  // left out of any list
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NamesTakenTwice(c.mods), c.twice) << "line " << c.line;
        // What is found is exactly what the reader would refuse.
        ModListProblem problem;
        EXPECT_EQ(ParseModList(Bytes(FormatModList(c.mods)), problem).has_value(), c.twice.empty()) << "line " << c.line;
    }
}

// The export of the rows the window shows and of the folder's mods as read
// alike: the list of their names and states, or nothing and the names taken twice.
TEST(ModList, AnExportIsTheListOrTheNamesThatStopIt)
{
    const auto rowsOf = [](const std::vector<ModEntry>& mods) {
        Arrangement arrangement;
        arrangement.Reset(mods);
        return arrangement.Rows();
    };
    const std::vector<ModEntry> whole{{L"a.pak", 1, {}}, {L"con.PAK", 2, {}}, {L"b.G1O", 3, {}}};
    for (const ModListExport& list : {ExportModList(whole), ExportModList(rowsOf(whole))}) {
        EXPECT_EQ(list.text, FormatModList({{L"a", true}, {L"b", false}}));
        EXPECT_EQ(list.leftOut, std::vector<std::wstring>{L"con"});
        EXPECT_TRUE(list.takenTwice.empty());
    }
    const std::vector<ModEntry> twice{{L"a.pak", 1, {}}, {L"b.pak", 2, {}}, {L"A.G1O", 3, {}}};
    for (const ModListExport& list : {ExportModList(twice), ExportModList(rowsOf(twice))}) {
        EXPECT_EQ(list.text, "");
        EXPECT_EQ(list.takenTwice, std::vector<std::wstring>{L"a"});
    }
}

TEST(ModList, BadBytesAreNamedNeverTaken)
{
    struct Case {
        int line;
        std::string bytes;
        ModListFault fault;
        int faultLine;
    };
    const std::string head = "# PakOrder mod list 1\n";
    const Case cases[] = {
        {__LINE__, "", ModListFault::NotAModList, 1},
        {__LINE__, "+ a\n", ModListFault::NotAModList, 1},
        {__LINE__, "PakOrder change record 1\nsequence\t3\n", ModListFault::NotAModList, 1},
        {__LINE__, "\n" + head, ModListFault::NotAModList, 1},
        {__LINE__, "# PakOrder mod list\n", ModListFault::NotAModList, 1},
        {__LINE__, "# PakOrder mod list 1x\n", ModListFault::NotAModList, 1},
        {__LINE__, "# PakOrder mod list 2\n+ a\n", ModListFault::OtherVersion, 1},
        {__LINE__, "# PakOrder mod list 99999999999999999999\n", ModListFault::NotAModList, 1},
        {__LINE__, head + std::string("+ a\0b\n", 6), ModListFault::Binary, 0},
        {__LINE__, head + "+ \xC3\x28\n", ModListFault::Binary, 0},
        {__LINE__, head + "+ \xED\xA0\x80\n", ModListFault::Binary, 0},  // a surrogate
        {__LINE__, head + "+ \xC0\xAF\n", ModListFault::Binary, 0},      // an overlong '/'
        {__LINE__, head + "+ \xF4\x90\x80\x80\n", ModListFault::Binary, 0},
        {__LINE__, "\x89PNG\r\n\x1A\n", ModListFault::Binary, 0},
        {__LINE__, head + "a\n", ModListFault::BadLine, 2},
        {__LINE__, head + "+a\n", ModListFault::BadLine, 2},
        {__LINE__, head + "* a\n", ModListFault::BadLine, 2},
        {__LINE__, head + "+ ok\n+ \n", ModListFault::BadLine, 3},
        {__LINE__, head + "+ ok\r\n\r\n- ../../etc/passwd\r\n", ModListFault::BadName, 4},
        {__LINE__, head + "+ CON\n", ModListFault::BadName, 2},
        {__LINE__, head + "+ a\rb\n", ModListFault::BadName, 2},
        {__LINE__, head + "+ Mod\n- mod\n", ModListFault::Duplicate, 3},
        {__LINE__, head + "+ a\n= a\n", ModListFault::BadLine, 3},
        {__LINE__, head + "= a >b\n", ModListFault::BadLine, 2},
        {__LINE__, head + "= a > A\n", ModListFault::BadLine, 2},
        {__LINE__, head + "= a > CON\n", ModListFault::BadLine, 2},
        {__LINE__, head + "= a > b\n+ a\n= A > B\n", ModListFault::Duplicate, 4},
        {__LINE__, std::string(kMaxModListBytes + 1, '#'), ModListFault::TooLarge, 0},
    };
    for (const Case& c : cases) {
        ModListProblem problem;
        EXPECT_FALSE(ParseModList(Bytes(c.bytes), problem)) << "line " << c.line;
        EXPECT_EQ(problem.fault, c.fault) << "line " << c.line;
        EXPECT_EQ(problem.line, c.faultLine) << "line " << c.line;
    }
    ModListProblem problem;
    ParseModList(Bytes(head + "+ a\n- A\n"), problem);
    EXPECT_EQ(problem.name, L"A");
    // The largest list still reads.
    std::string large = head;
    large.resize(kMaxModListBytes, '#');
    EXPECT_TRUE(ParseModList(Bytes(large), problem));
}

// Rows named by letter; a capital is a disabled mod ("A" is a.G1O).
std::vector<ArrangedMod> Rows(const std::wstring& letters)
{
    std::vector<ArrangedMod> rows;
    for (const wchar_t c : letters) {
        const bool disabled = c >= L'A' && c <= L'Z';
        rows.push_back(ArrangedMod{std::wstring(1, disabled ? static_cast<wchar_t>(c - L'A' + L'a') : c) + (disabled ? L".G1O" : L".pak"), 0, false});
    }
    return rows;
}

// "+a -b" as list entries.
std::vector<ModListEntry> List(const std::wstring& marks)
{
    std::vector<ModListEntry> list;
    for (std::size_t i = 0; i + 1 < marks.size(); i += 3)
        list.push_back(ModListEntry{std::wstring(1, marks[i + 1]), marks[i] == L'+'});
    return list;
}

TEST(ListImport, NamedModsTakeTheListsOrderWithinTheirOwnRows)
{
    struct Case {
        int line;
        std::wstring rows;
        std::wstring list;
        std::wstring expected;  // the rows afterwards (states not yet switched), moved rows with '*'
        std::wstring switched;  // names whose state changes, '+' to enable
        std::wstring missing;
    };
    const Case cases[] = {
        {__LINE__, L"abcde", L"+e +a", L"e*bcda*", L"", L""},
        {__LINE__, L"abcde", L"+d +b", L"ad*cb*e", L"", L""},
        {__LINE__, L"abcde", L"+a +b +c +d +e", L"abcde", L"", L""},
        {__LINE__, L"abcde", L"+e +d +c +b +a", L"e*d*cb*a*", L"", L""},
        {__LINE__, L"abcde", L"+c", L"abcde", L"", L""},
        {__LINE__, L"abcde", L"", L"abcde", L"", L""},
        {__LINE__, L"abCde", L"+c -a +x +e +y", L"C*ba*de", L"+c-a", L"xy"},
        {__LINE__, L"aBcDe", L"-d +b", L"aD*cB*e", L"+b", L""},
        // a.pak beside a.G1O: both named, in their own order
        {__LINE__, L"aAb", L"+b +a", L"b*a*A*", L"+a", L""},
    };
    for (const Case& c : cases) {
        const std::vector<ArrangedMod> rows = Rows(c.rows);
        const ImportEffect effect = PlanImport(rows, List(c.list));
        Arrangement arrangement;
        std::vector<ModEntry> catalogue;
        for (const ArrangedMod& row : rows)
            catalogue.push_back(ModEntry{row.name, 0, {}});
        arrangement.Reset(catalogue);
        EXPECT_EQ(arrangement.Rearrange(effect.order), effect.moved) << "line " << c.line;
        std::wstring shown;
        for (const ArrangedMod& row : arrangement.Rows()) {
            const bool disabled = row.name.size() > 4 && row.name.substr(row.name.size() - 3) == L"G1O";
            shown += static_cast<wchar_t>(disabled ? row.name[0] - L'a' + L'A' : row.name[0]);
            shown += row.marked ? L"*" : L"";
        }
        EXPECT_EQ(shown, c.expected) << "line " << c.line;
        std::wstring switched, missing;
        for (const StateChange& change : effect.switches)
            switched += (change.enable ? L"+" : L"-") + change.name.substr(0, 1);
        for (const std::wstring& name : effect.missing)
            missing += name;
        EXPECT_EQ(switched, c.switched) << "line " << c.line;
        EXPECT_EQ(missing, c.missing) << "line " << c.line;
    }
    // Names compare as Windows compares them.
    const ImportEffect folded = PlanImport({{L"Straße.PAK", 0, false}, {L"ÄB.pak", 0, false}}, {{L"äb", true}, {L"STRAßE", true}});
    EXPECT_EQ(folded.order, (std::vector<int>{1, 0}));
    EXPECT_TRUE(folded.missing.empty());
}

}  // namespace
