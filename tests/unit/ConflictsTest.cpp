#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "mods/Conflicts.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
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
        const std::wstring path = report.PathOf(conflict);
        std::string line = platform::ToUtf8(path);
        line += (conflict.identical ? " = " : ": ") + names[conflict.winner] + " <";
        for (std::size_t mod : report.Overridden(conflict))
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
        {"a selection of only the earliest holder",
         {{"a", {items}, true, true}, {"b", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 9}}}}}, {"c", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 8}}}}}},
         {"MEDIA/ITEMS/SWORD.DAT: c < a b"}, 3},
        {"four copies where only the second differs are not identical",
         {{"a", {items}}, {"b", {{u"MEDIA/ITEMS/", {{u"SWORD.DAT", 9}}}}}, {"c", {items}}, {"d", {items}}},
         {"MEDIA/ITEMS/SWORD.DAT: d < a b c", "MEDIA/ITEMS/SHIELD.DAT = d < a c"}, 4},
        {"every split of a path between folder and name is one file; the winner's is joined by one separator",
         {{"a", {{u"MEDIA/", {{u"UNITS/X.DAT", 1}}}}}, {"b", {{u"MEDIA/UNITS/", {{u"X.DAT", 2}}}}},
          {"c", {{u"MEDIA", {{u"UNITS\\X.DAT", 3}}}}}, {"d", {{u"MEDIA/UNITS", {{u"X.DAT", 4}}}}}},
         {"MEDIA/UNITS/X.DAT: d < a b c"}, 4},
        {"repeated separators count as one, at the joint too",
         {{"a", {{u"MEDIA//UNITS/", {{u"X.DAT", 1}}}}}, {"b", {{u"\\MEDIA\\UNITS\\\\", {{u"\\X.DAT", 2}}}}}},
         {"\\MEDIA\\UNITS\\\\X.DAT: b < a"}, 2},
        {"a folder without its trailing separator is not glued to the name",
         {{"a", {{u"MEDIA/UNITS", {{u"X.DAT", 1}}}}}, {"b", {{u"MEDIA/", {{u"UNITSX.DAT", 2}}}}}}, {}, 0},
        {"letters of every alphabet in either case, at the ends of the Latin one too",
         {{"a", {{u"MEDIA/", {{u"ÜBER.DAT", 1}, {u"ΣΩ.DAT", 2}, {u"ЖУК.DAT", 3}, {u"pizza.dat", 4}}}}},
          {"b", {{u"media/", {{u"über.dat", 5}, {u"σω.dat", 6}, {u"жук.dat", 7}, {u"PIZZA.DAT", 8}}}}}},
         {"media/PIZZA.DAT: b < a", "media/über.dat: b < a", "media/σω.dat: b < a", "media/жук.dat: b < a"}, 2},
        {"other letters stay apart",
         {{"a", {{u"MEDIA/", {{u"Š.DAT", 1}}}}}, {"b", {{u"MEDIA/", {{u"Ł.DAT", 2}}}}}, {"c", {{u"MEDIA/", {{u"š.DAT", 3}}}}}},
         {"MEDIA/š.DAT: c < a"}, 2},
        {"the report's order: real conflicts by path, a file before a folder of its name, then identical copies",
         {{"a", {{u"MEDIA/", {{u"A0.DAT", 1}, {u"A/C.DAT", 1}, {u"A/B.DAT", 1}, {u"A.DAT", 1}}}}},
          {"b", {{u"MEDIA/", {{u"A0.DAT", 1}, {u"A/C.DAT", 1}, {u"A/B.DAT", 2}, {u"A.DAT", 2}}}}}},
         {"MEDIA/A.DAT: b < a", "MEDIA/A/B.DAT: b < a", "MEDIA/A/C.DAT = b < a", "MEDIA/A0.DAT = b < a"}, 2},
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
    // Two of the size real manifests have, some hundred kilobytes, sharing one file.
    const auto realSized = [](const std::u16string& prefix) {
        std::vector<ManifestFolderToWrite> folders(20);
        for (int f = 0; f < 20; ++f) {
            folders[f].path = u"MEDIA/SET" + std::u16string(1, static_cast<char16_t>(u'A' + f)) + u"/";
            for (int e = 0; e < 400; ++e) {
                const std::string number = std::to_string(e);
                folders[f].entries.push_back({(e == 0 && f == 0 ? u"ITEM" : prefix) + std::u16string(number.begin(), number.end()) + u".DAT",
                                              static_cast<std::uint32_t>(e + prefix.size())});
            }
        }
        return ManifestBytes(folders);
    };
    write(L"g.PAK.MAN", realSized(u"ITEM"));
    write(L"h.PAK.MAN", realSized(u"PART_"));
    ASSERT_GT(realSized(u"ITEM").size(), 300'000u);
    // One past the largest manifest read: refused unread.
    write(L"i.PAK.MAN", {});
    std::filesystem::resize_file(FsPath(paks / L"i.PAK.MAN"), kMaxManifestBytes + 1);
    FaultyFileSystem fs(platform::SystemFileSystem());
    fs.unreadable.insert(paks / L"f.PAK.MAN");

    const ConflictReport report = CheckConflicts(fs, paks.path(),
        {{L"a.PAK", true}, {L"b.G1O", false}, {L"c.pak", true}, {L"d.PAK", true}, {L"e.PAK", true}, {L"f.PAK", true},
         {L"g.PAK", true}, {L"h.PAK", true}, {L"i.PAK", true}});
    EXPECT_EQ(Describe(report, {"a", "b", "c", "d", "e", "f", "g", "h", "i"}),
              (std::vector<std::string>{"MEDIA/SETA/ITEM0.DAT: h < g", "MEDIA/SWORD.DAT: e < a"}));
    ASSERT_EQ(report.unchecked.size(), 4u);
    EXPECT_EQ(report.unchecked[0].mod, 2u);
    EXPECT_EQ(report.unchecked[0].reason, UncheckedReason::Malformed);
    EXPECT_EQ(report.unchecked[1].mod, 3u);
    EXPECT_EQ(report.unchecked[1].reason, UncheckedReason::NoManifest);
    EXPECT_EQ(report.unchecked[2].mod, 5u);
    EXPECT_EQ(report.unchecked[2].reason, UncheckedReason::Unreadable);
    EXPECT_FALSE(report.unchecked[2].status.ok());
    EXPECT_EQ(report.unchecked[3].mod, 8u);
    EXPECT_EQ(report.unchecked[3].reason, UncheckedReason::TooLarge);
}

}  // namespace
