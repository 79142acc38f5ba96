// The index of which mods hold each game file: the mark each mod gets in an
// order, the mods it overrides and is overridden by, overlaps the player
// intends, rows matched by name as the list changes, and manifests that
// change or vanish while they are read.
#include <gtest/gtest.h>

#include <sstream>

#include "mods/ConflictIndex.h"
#include "mods/ModFile.h"
#include "mods/ModList.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/FaultyFileSystem.h"
#include "unit/ManifestBytes.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

// "X:1 Y:2": files X and Y of MEDIA/ with CRC-32s 1 and 2.
std::vector<unsigned char> Manifest(const std::string& files)
{
    ManifestFolderToWrite folder{u"MEDIA/", {}};
    std::istringstream words(files);
    for (std::string word; words >> word;) {
        const std::size_t colon = word.find(':');
        const std::string name = word.substr(0, colon);
        folder.entries.push_back({std::u16string(name.begin(), name.end()), static_cast<std::uint32_t>(std::stoul(word.substr(colon + 1)))});
    }
    return ManifestBytes({folder});
}

struct Mod {
    std::wstring name;  // "a" is a.pak, "A" is a.G1O (disabled)
    std::string files;  // as Manifest takes them; "?" has no manifest
};

std::wstring FileNameOf(const std::wstring& name)
{
    const bool disabled = name[0] >= L'A' && name[0] <= L'Z';
    return disabled ? std::wstring(1, static_cast<wchar_t>(name[0] - L'A' + L'a')) + name.substr(1) + L".G1O" : name + L".pak";
}

// The index of the mods, and their rows in that order.
ConflictIndex IndexOf(const std::vector<Mod>& mods, std::vector<ListedModToCheck>& rows)
{
    ConflictIndex index;
    rows.clear();
    for (const Mod& mod : mods) {
        const std::wstring file = FileNameOf(mod.name);
        rows.push_back(ListedModToCheck{file, !IsDisabledModName(file), false});
        if (mod.files == "?") {
            index.AddUnchecked(file, UncheckedReason::NoManifest);
            continue;
        }
        const std::vector<unsigned char> bytes = Manifest(mod.files);
        index.Add(file, bytes.data(), bytes.size());
    }
    return index;
}

const char* Word(ConflictMark mark)
{
    switch (mark) {
    case ConflictMark::None: return "none";
    case ConflictMark::Overrides: return "overrides";
    case ConflictMark::Overridden: return "overridden";
    case ConflictMark::Both: return "both";
    case ConflictMark::FullyOverridden: return "fully";
    case ConflictMark::Unchecked: return "unchecked";
    case ConflictMark::Unknown: return "unknown";
    }
    return "?";
}

// "a:overrides b:overridden ...", every row, in the rows' order.
std::string Marks(const ConflictAnalysis& analysis, const std::vector<ListedModToCheck>& rows)
{
    std::string marks;
    for (std::size_t r = 0; r < rows.size(); ++r)
        marks += (marks.empty() ? "" : " ") + platform::ToUtf8(ModListEntryOf(rows[r].name).name) + ":" +
                 Word(analysis.Rows()[r].mark);
    return marks;
}

TEST(ConflictIndex, EachModIsMarkedByWhatItsFilesDoInThisOrder)
{
    struct Case {
        int line;
        std::vector<Mod> mods;  // in load order
        std::vector<IntendedOverlap> intended;
        std::string marks;
    };
    const Case cases[] = {
        {__LINE__, {{L"b", "X:1 Y:1"}, {L"a", "X:2"}}, {}, "b:overridden a:overrides"},
        {__LINE__, {{L"c", "Z:1"}, {L"d", "Z:2 W:1"}}, {}, "c:fully d:overrides"},
        {__LINE__, {{L"e", "I:5"}, {L"f", "I:5 J:1"}}, {}, "e:none f:none"},
        {__LINE__, {{L"p", "A:1"}, {L"q", "A:2 B:1"}, {L"r", "B:2"}}, {}, "p:fully q:both r:overrides"},
        // Identical copies lose too: nothing of u takes effect, and one loss is real.
        {__LINE__, {{L"u", "I:5 J:1"}, {L"v", "I:5 J:2"}}, {}, "u:fully v:overrides"},
        // The winner's copy is identical to one holder's only: the file is a real conflict for both.
        {__LINE__, {{L"s", "A:1 Q:1"}, {L"t", "A:2 R:1"}, {L"w", "A:1"}}, {}, "s:overridden t:overridden w:overrides"},
        {__LINE__, {{L"S", "A:1"}, {L"t", "A:2"}}, {}, "s:none t:none"},
        {__LINE__, {{L"g", "?"}, {L"h", "A:1"}, {L"N", "?"}}, {}, "g:unchecked h:none n:none"},
        {__LINE__, {{L"k", ""}, {L"m", "A:1"}}, {}, "k:none m:none"},
        // An intended pair raises no mark on either side; other pairs still do.
        {__LINE__, {{L"b", "X:1 Y:1"}, {L"a", "X:2"}}, {{L"a", L"B"}}, "b:none a:none"},
        {__LINE__, {{L"c", "Z:1"}, {L"d", "Z:2"}}, {{L"c", L"d"}}, "c:fully d:overrides"},
        {__LINE__, {{L"p", "A:1"}, {L"q", "A:2"}, {L"r", "A:3"}}, {{L"r", L"p"}}, "p:none q:fully r:overrides"},
        {__LINE__, {{L"p", "A:1 B:1"}, {L"q", "A:2"}, {L"r", "B:2"}}, {{L"q", L"p"}}, "p:fully q:none r:overrides"},
    };
    for (const Case& c : cases) {
        std::vector<ListedModToCheck> rows;
        const ConflictIndex index = IndexOf(c.mods, rows);
        EXPECT_EQ(Marks(index.Analyse(rows, c.intended), rows), c.marks) << "line " << c.line;
    }
}

TEST(ConflictIndex, RelationsNameEachOtherModWithTheFilesInQuestion)
{
    std::vector<ListedModToCheck> rows;
    const ConflictIndex index = IndexOf({{L"y", "A:1 B:1 C:1 D:1"},
                                         {L"z", "C:2 E:1"},
                                         {L"x", "A:2 B:2 C:3 F:1 G:1"},
                                         {L"i", "F:1"},  // x's copy, but w's differs: real for both
                                         {L"w", "F:2 G:2"}},
                                        rows);
    const ConflictAnalysis analysis = index.Analyse(rows, {{L"x", L"z"}});
    const ModRelations x = index.RelationsOf(analysis, 2);
    EXPECT_EQ(x.overrides, (std::vector<ModOverlap>{{0, 3, false}, {1, 1, true}}));
    EXPECT_EQ(x.overriddenBy, (std::vector<ModOverlap>{{4, 2, false}}));
    const RowConflicts& row = analysis.Rows()[2];
    EXPECT_EQ(row.mark, ConflictMark::Both);
    EXPECT_EQ(row.files, 5u);
    EXPECT_EQ(row.overridingFiles, 3u);  // A, B and C, C against y and z
    EXPECT_EQ(row.overriddenFiles, 2u);
    EXPECT_EQ(analysis.Rows()[3].overriddenFiles, 1u);  // F: i's copy differs from w's

    const std::vector<ModRelations> all = index.AllRelations(analysis);
    ASSERT_EQ(all.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_EQ(all[r], index.RelationsOf(analysis, r)) << "row " << r;
    EXPECT_EQ(all[1].overriddenBy, (std::vector<ModOverlap>{{2, 1, true}}));
}

TEST(ConflictIndex, RowsAreFoundByNameAfterMovesSwitchesInstallsAndDeletes)
{
    std::vector<ListedModToCheck> rows;
    const ConflictIndex index = IndexOf({{L"a", "X:1"}, {L"B", "X:2"}, {L"c", "X:3 Y:1"}, {L"d", "Y:2"}}, rows);
    // b enabled (now b.pak) and moved last, c deleted, e installed: the index does not know e.
    const std::vector<ListedModToCheck> now{{L"e.pak", true, false}, {L"d.pak", true, false}, {L"a.pak", true, false},
                                            {L"b.PAK", true, false}};
    const ConflictAnalysis analysis = index.Analyse(now);
    EXPECT_EQ(Marks(analysis, now), "e:unknown d:none a:fully b:overrides");
    EXPECT_EQ(analysis.Rows()[1].files, 1u);

    // Two rows of one name with other extensions: neither is taken for the other.
    const std::vector<ListedModToCheck> twice{{L"b.pak", true, false}, {L"b.PAK", true, false}, {L"a.pak", true, false}};
    EXPECT_EQ(Marks(index.Analyse(twice), twice), "b:unknown b:unknown a:none");
}

TEST(ConflictIndex, AModsFoldersAreNamedToTheDepthAsked)
{
    ConflictIndex index;
    const std::vector<unsigned char> bytes =
        ManifestBytes({{u"MEDIA/UNITS/ITEMS/", {{u"X.DAT"}, {u"SUB/Y.DAT"}}}, {u"media\\skills", {{u"Z.DAT"}}},
                       {u"MEDIA/", {{u"W.DAT"}, {u"units/V.DAT"}}}, {u"", {{u"ROOT.DAT"}}}, {u"Ωmega/", {{u"o.dat"}}}});
    index.Add(L"a.pak", bytes.data(), bytes.size());
    const ConflictAnalysis analysis = index.Analyse({{L"b.pak", true, false}, {L"a.G1O", false, false}});
    EXPECT_EQ(index.FoldersOf(analysis, 1), (std::vector<std::wstring>{L"MEDIA", L"MEDIA/SKILLS", L"MEDIA/UNITS", L"ΩMEGA"}));
    EXPECT_EQ(index.FoldersOf(analysis, 1, 1), (std::vector<std::wstring>{L"MEDIA", L"ΩMEGA"}));
    EXPECT_TRUE(index.FoldersOf(analysis, 0).empty());
}

TEST(ConflictIndex, TheReportListsIntendedFilesApartAfterTheRealOnes)
{
    std::vector<ListedModToCheck> rows;
    const ConflictIndex index = IndexOf({{L"base", "A:1 B:1 C:1 D:1"}, {L"other", "B:2"}, {L"patch", "A:2 B:3 C:1 D:2"}}, rows);
    const ConflictReport report = index.Report(index.Analyse(rows, {{L"patch", L"base"}}));
    std::vector<std::string> listed;
    for (const FileConflict& conflict : report.conflicts)
        listed.push_back(platform::ToUtf8(report.PathOf(conflict)) + (conflict.identical ? " identical" : conflict.intended ? " intended" : ""));
    // B is real (patch over other is not meant), A and D are meant, C is the same copy.
    EXPECT_EQ(listed, (std::vector<std::string>{"MEDIA/B", "MEDIA/A intended", "MEDIA/D intended", "MEDIA/C identical"}));
    EXPECT_EQ(report.modsInConflict, 3u);

    const ConflictReport unmeant = index.Report(index.Analyse(rows));
    EXPECT_EQ(unmeant.conflicts.size(), 4u);
    EXPECT_TRUE(std::none_of(unmeant.conflicts.begin(), unmeant.conflicts.end(), [](const FileConflict& c) { return c.intended; }));
}

TEST(ConflictIndex, AManifestChangedOrGoneWhileTheIndexReadsIsNotChecked)
{
    TempFolder paks;
    const auto write = [&](const std::wstring& name, const std::string& files) {
        const std::vector<unsigned char> bytes = Manifest(files);
        WriteFile(paks / name, std::string(bytes.begin(), bytes.end()));
    };
    for (const wchar_t* name : {L"a.pak", L"b.pak", L"c.pak", L"d.pak", L"e.pak"}) {
        WriteFile(paks / name, "pak");
        write(CompanionName(name), "X:1 Y:1");
    }
    write(L"e.pak.MAN", "X:9");
    FaultyFileSystem fs(platform::SystemFileSystem());
    fs.cutShort.insert(paks / L"b.pak.MAN");
    // While the index reads, c goes (pak and manifest) and d's manifest becomes another.
    fs.beforeWholeRead = [&](const std::wstring& path) {
        if (path == paks / L"c.pak.MAN") {
            platform::SystemFileSystem().RemoveFile(paks / L"c.pak");
            platform::SystemFileSystem().RemoveFile(path);
        }
        if (path == paks / L"d.pak.MAN")
            write(L"d.pak.MAN", "Z:1");
    };
    ConflictIndex index;
    const std::vector<std::wstring> names{L"a.pak", L"b.pak", L"c.pak", L"d.pak", L"e.pak"};
    index.Read(fs, paks.path(), names);
    std::vector<ListedModToCheck> rows;
    for (const std::wstring& name : names)
        rows.push_back(ListedModToCheck{name, true, false});
    const ConflictAnalysis analysis = index.Analyse(rows);
    EXPECT_EQ(Marks(analysis, rows), "a:overridden b:unchecked c:unchecked d:none e:overrides");
    EXPECT_EQ(analysis.Rows()[1].reason, UncheckedReason::Malformed);
    EXPECT_EQ(analysis.Rows()[2].reason, UncheckedReason::NoManifest);
    EXPECT_EQ(analysis.Rows()[3].files, 1u);

    // Read again, b is whole; c is forgotten. What was worked out before
    // the change is of another index now: it gives nothing.
    ASSERT_EQ(index.Report(analysis).conflicts.size(), 1u);
    fs.cutShort.clear();
    index.Read(fs, paks.path(), {L"b.pak"});
    index.Remove(L"c.pak");
    EXPECT_TRUE(index.Report(analysis).conflicts.empty());
    EXPECT_TRUE(index.AllRelations(analysis).empty());
    EXPECT_EQ(Marks(index.Analyse(rows), rows), "a:fully b:overridden c:unknown d:none e:overrides");
}

}  // namespace
