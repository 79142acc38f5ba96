// What the list shows of each row's conflicts, from a real index: the
// marks' words in both languages, the rows lit for a selection, the pairs
// meant, tied times and a mod at a glance.

#include <gtest/gtest.h>

#include "app/ConflictMarks.h"
#include "app/Texts.h"
#include "unit/ManifestBytes.h"

using namespace testing_files;

namespace {

struct ChineseAfterwards {
    ~ChineseAfterwards() { texts::SetLanguage(texts::Language::Chinese); }
};

void AddMod(mods::ConflictIndex& index, const std::wstring& name, const std::vector<ManifestFileToWrite>& files)
{
    const std::vector<unsigned char> bytes = ManifestBytes({{u"MEDIA/", files}});
    index.Add(name, bytes.data(), bytes.size());
}

std::vector<mods::ListedModToCheck> Listed(const std::vector<mods::ArrangedMod>& rows)
{
    std::vector<mods::ListedModToCheck> listed;
    for (const mods::ArrangedMod& row : rows)
        listed.push_back({row.name, row.name.find(L".G1O") == std::wstring::npos, false});
    return listed;
}

std::vector<std::wstring> Words(const std::vector<RowMark>& marks)
{
    std::vector<std::wstring> words;
    for (const RowMark& mark : marks)
        words.push_back(mark.words);
    return words;
}

}  // namespace

// y, x, z in load order: x wins y's one file and loses its Y to z.
TEST(ConflictMarks, WordsLightsAndPairsMeant)
{
    const ChineseAfterwards chinese;
    mods::ConflictIndex index;
    AddMod(index, L"y.pak", {{u"X.DAT", 1}});
    AddMod(index, L"x.pak", {{u"X.DAT", 2}, {u"Y.DAT", 3}});
    AddMod(index, L"z.pak", {{u"Y.DAT", 4}, {u"Z.DAT", 5}});
    const std::vector<mods::ArrangedMod> rows = {{L"y.pak", 10}, {L"x.pak", 20}, {L"z.pak", 30}};

    mods::ConflictAnalysis analysis = index.Analyse(Listed(rows));
    std::vector<mods::ModRelations> relations = index.AllRelations(analysis);
    std::vector<RowMark> marks = MarksOfRows(rows, &analysis, relations);
    EXPECT_EQ(marks[1].mark, mods::ConflictMark::Both);
    EXPECT_EQ(Words(marks), (std::vector<std::wstring>{L"全部 1 个文件都被 1 个MOD覆盖：在此顺序下不起作用",
                                                       L"覆盖 1 个MOD的 1 个文件；被 1 个MOD覆盖 1 个文件",
                                                       L"覆盖 1 个MOD的 1 个文件"}));
    texts::SetLanguage(texts::Language::English);
    EXPECT_EQ(MarksOfRows(rows, &analysis, relations)[1].words,
              L"Overrides 1 mods in 1 files; Overridden by 1 mods in 1 files");
    texts::SetLanguage(texts::Language::Chinese);

    // x selected: y lit as overridden by it, z as overriding it.
    EXPECT_EQ(LightsOf(3, 1, relations), (std::vector<RowLight>{RowLight::Overridden, RowLight::None, RowLight::Overriding}));
    EXPECT_EQ(DetailsOf(rows, 1, 3u << 19, analysis.Rows()[1], index.FoldersOf(analysis, 1), relations[1]),
              L"x.pak：1.5 MB，清单 2 个文件，MEDIA；覆盖 y.pak；被 z.pak 覆盖");
    ASSERT_EQ(PairsOf(1, relations[1]).size(), 2u);

    // x over y is meant: neither marks it, nor is y lit, and the menu offers to take it back.
    analysis = index.Analyse(Listed(rows), {{L"x", L"y"}});
    relations = index.AllRelations(analysis);
    marks = MarksOfRows(rows, &analysis, relations);
    EXPECT_EQ(Words(marks), (std::vector<std::wstring>{L"", L"被 1 个MOD覆盖 1 个文件", L"覆盖 1 个MOD的 1 个文件"}));
    EXPECT_EQ(LightsOf(3, 1, relations), (std::vector<RowLight>{RowLight::None, RowLight::None, RowLight::Overriding}));
    const std::vector<RelatedPair> pairs = PairsOf(1, relations[1]);
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_TRUE(pairs[0].overriding == 1 && pairs[0].overridden == 0 && pairs[0].intended);
    EXPECT_TRUE(pairs[1].overriding == 2 && pairs[1].overridden == 1 && !pairs[1].intended);
}

// Enabled mods of one time are tied, whether or not the index is ready; a
// disabled one of that time is not.
TEST(ConflictMarks, TiedTimesWithOrWithoutTheIndex)
{
    const std::vector<mods::ArrangedMod> rows = {{L"p.pak", 10}, {L"q.pak", 10}, {L"r.G1O", 10}, {L"s.pak", 10}, {L"t.pak", 11}};
    const std::vector<RowMark> marks = MarksOfRows(rows, nullptr, {});
    const std::wstring tied = L" 修改时间相同：游戏加载顺序不确定";
    EXPECT_EQ(Words(marks), (std::vector<std::wstring>{L"与 q.pak、s.pak" + tied, L"与 p.pak、s.pak" + tied, L"",
                                                       L"与 p.pak、q.pak" + tied, L""}));
    EXPECT_TRUE(marks[0].tied && !marks[2].tied && !marks[4].tied);
    EXPECT_EQ(marks[0].mark, mods::ConflictMark::None);
}
