#include <gtest/gtest.h>

#include <map>

#include "mods/Conflicts.h"
#include "platform/Paths.h"
#include "unit/FaultyFileSystem.h"
#include "unit/ManifestBytes.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

// A conflict as text: "path: winner < overridden, ..." with "=" for identical copies.
std::vector<std::string> Describe(const ConflictReport& report, const std::vector<std::string>& names)
{
    std::vector<std::string> lines;
    for (const FileConflict& conflict : report.conflicts) {
        std::string line(conflict.path.begin(), conflict.path.end());
        line += (conflict.identical ? " = " : ": ") + names[conflict.winner] + " <";
        for (std::size_t mod : conflict.overridden)
            line += " " + names[mod];
        lines.push_back(line);
    }
    return lines;
}

struct ModToWrite {
    std::string name;
    std::vector<ManifestFolderToWrite> folders;
    bool enabled = true;
    bool selected = false;
};

ConflictReport Analyse(const std::vector<ModToWrite>& written, std::vector<std::vector<unsigned char>>& bytes)
{
    std::vector<ModManifest> mods;
    bytes.clear();
    bytes.reserve(written.size());
    for (const ModToWrite& mod : written) {
        bytes.push_back(ManifestBytes(mod.folders));
        mods.push_back(ModManifest{mod.enabled, mod.selected, ParseManifest(bytes.back().data(), bytes.back().size())});
    }
    return FindConflicts(mods);
}

TEST(Conflicts, TheModLoadedLastWins)
{
    const ManifestFolderToWrite items{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 1}, {u"SHIELD.DAT", 2}}};
    struct Case {
        const char* what;
        std::vector<ModToWrite> mods;
        std::vector<std::string> expected;
        std::size_t modsInConflict;
    };
    const Case cases[] = {
        {"two mods share a file", {{"a", {items}}, {"b", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 9}}}}}},
         {"MEDIA/ITEMS/SWORD.DAT: b < a"}, 2},
        {"three mods, the others in load order",
         {{"a", {items}}, {"b", {items}}, {"c", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 9}, {u"SHIELD.DAT", 2}}}}}},
         {"MEDIA/ITEMS/SWORD.DAT: c < a b", "MEDIA/ITEMS/SHIELD.DAT = c < a b"}, 3},
        {"a disabled mod loads nothing", {{"a", {items}}, {"b", {items}, false}}, {}, 0},
        {"identical copies come last", {{"a", {items}}, {"b", {{u"MEDIA/ITEMS/", {{u"SHIELD.DAT", 2}, {u"SWORD.DAT", 5}}}}}},
         {"MEDIA/ITEMS/SWORD.DAT: b < a", "MEDIA/ITEMS/SHIELD.DAT = b < a"}, 2},
        {"a removed file replaces nothing",
         {{"a", {items}}, {"b", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 9, 1, 0}}}}}}, {}, 0},
        {"case and separators do not matter; the winner's spelling is shown",
         {{"a", {items}}, {"b", {{u"media\\items\\", {{u"sword.dat", 9}}}}}}, {"media\\items\\sword.dat: b < a"}, 2},
        {"the winner's spelling, also when an earlier mod spelled it so",
         {{"a", {items}}, {"b", {{u"media/items/", {{u"sword.dat", 9}}}}}, {"c", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 3}}}}}},
         {"MEDIA/ITEMS/SWORD.DAT: c < a b"}, 3},
        {"a file listed twice in one mod is one copy, the later one",
         {{"a", {{u"MEDIA/", {{u"X.DAT", 1}, {u"X.DAT", 2}}}}}, {"b", {{u"MEDIA/", {{u"X.DAT", 2}, {u"Y.DAT", 4}}}}},
          {"c", {{u"MEDIA/", {{u"Y.DAT", 4}, {u"Y.DAT", 5}}}}}},
         {"MEDIA/Y.DAT: c < b", "MEDIA/X.DAT = b < a"}, 2},
        {"a copy in between that differs is a conflict",
         {{"a", {items}}, {"b", {{u"MEDIA/ITEMS/", {{u"SHIELD.DAT", 7}}}}}, {"c", {items}}},
         {"MEDIA/ITEMS/SHIELD.DAT: c < a b", "MEDIA/ITEMS/SWORD.DAT = c < a"}, 3},
        {"with a selection, only files of selected mods",
         {{"a", {items}}, {"b", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 9}}}}}, {"c", {{u"MEDIA/ITEMS/", {{u"SHIELD.DAT", 8}}}}, true, true}},
         {"MEDIA/ITEMS/SHIELD.DAT: c < a"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> names;
        for (const ModToWrite& mod : c.mods)
            names.push_back(mod.name);
        std::vector<std::vector<unsigned char>> bytes;
        const ConflictReport report = Analyse(c.mods, bytes);
        EXPECT_EQ(Describe(report, names), c.expected);
        EXPECT_EQ(report.modsInConflict, c.modsInConflict);
    }
}

TEST(Conflicts, EveryManifestThatCannotBeCheckedIsNamedAndTheRestAreChecked)
{
    TempFolder paks;
    const auto write = [&](const std::wstring& name, const std::vector<unsigned char>& bytes) {
        WriteFile(paks / name, std::string(bytes.begin(), bytes.end()));
    };
    const std::vector<unsigned char> sword = ManifestBytes({{u"MEDIA/", {{u"SWORD.DAT", 1}}}});
    const std::vector<unsigned char> other = ManifestBytes({{u"MEDIA/", {{u"SWORD.DAT", 2}}}});
    write(L"a.PAK.MAN", sword);
    write(L"b.G1O.MAN", other);  // disabled: never read
    write(L"c.pak.MAN", std::vector<unsigned char>(sword.begin(), sword.end() - 3));
    write(L"e.PAK.MAN", other);
    write(L"f.PAK.MAN", other);
    FaultyFileSystem fs(platform::SystemFileSystem());
    fs.unreadable.insert(paks / L"f.PAK.MAN");

    const ConflictReport report = CheckConflicts(fs, paks.path(),
        {{L"a.PAK", true}, {L"b.G1O", false}, {L"c.pak", true}, {L"d.PAK", true}, {L"e.PAK", true}, {L"f.PAK", true}});
    EXPECT_EQ(Describe(report, {"a", "b", "c", "d", "e", "f"}), (std::vector<std::string>{"MEDIA/SWORD.DAT: e < a"}));
    ASSERT_EQ(report.unchecked.size(), 3u);
    EXPECT_EQ(report.unchecked[0].mod, 2u);
    EXPECT_EQ(report.unchecked[0].reason, UncheckedReason::Malformed);
    EXPECT_EQ(report.unchecked[1].mod, 3u);
    EXPECT_EQ(report.unchecked[1].reason, UncheckedReason::NoManifest);
    EXPECT_EQ(report.unchecked[2].mod, 5u);
    EXPECT_EQ(report.unchecked[2].reason, UncheckedReason::Unreadable);
    EXPECT_FALSE(report.unchecked[2].status.ok());
}

}  // namespace
