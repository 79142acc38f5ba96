// The smart sort's promise on real files: whatever the folder and however
// the user rearranged it, the order read back from disk is the order shown,
// and it survives a file system that keeps times to two seconds only.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "mods/ModCatalogue.h"
#include "mods/ModFile.h"
#include "mods/ModTime.h"
#include "mods/Reorder.h"
#include "mods/SmartSort.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Utf8.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

std::vector<std::wstring> CatalogueNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    for (const ModEntry& entry : ReadModCatalogue(Fs(), folder))
        names.push_back(entry.fileName);
    return names;
}

// A folder of random mods: old and new times, runs of equal times, some
// disabled, some with companions.
void MakeRandomFolder(const std::wstring& folder, int count, std::mt19937& random)
{
    std::uniform_int_distribution<int> year(2010, 2026), day(1, 28), coin(0, 3);
    FileTime previous = Time(2015, 1, 1);
    for (int i = 0; i < count; ++i) {
        FileTime time = coin(random) == 0 ? previous : Time(year(random), 1 + day(random) % 12, day(random), day(random) % 24);
        previous = time;
        const std::wstring name = L"mod" + std::to_wstring(i) + (coin(random) == 0 ? L".G1O" : coin(random) ? L".pak" : L".PAK");
        WriteFileWithTime(platform::JoinPath(folder, name), time);
        if (coin(random))
            WriteFileWithTime(platform::JoinPath(folder, CompanionName(name)), Time(2011, 1, 1));
    }
}

struct Shown {
    std::wstring name;
    bool marked = false;
};

TEST(OrderProperty, TheOrderShownIsTheOrderWritten)
{
    std::mt19937 random(8122026);
    const FileTime now = Time(2026, 12, 8, 17, 0, 0) + 1234567;
    const int sizes[] = {2, 3, 7, 40, 250, 120, 15, 2, 300, 60};
    for (int round = 0; round < static_cast<int>(std::size(sizes)); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        TempFolder folder;
        MakeRandomFolder(folder.path(), sizes[round], random);

        // What a refill shows, then a few random moves.
        std::vector<Shown> shown;
        std::map<std::wstring, FileTime> before;
        for (const ModEntry& entry : ReadModCatalogue(Fs(), folder.path())) {
            shown.push_back(Shown{entry.fileName, false});
            before[entry.fileName] = entry.lastWriteTime;
        }
        std::uniform_int_distribution<int> moves(0, 4), command(0, 3);
        for (int move = moves(random); move > 0; --move) {
            std::vector<int> selected;
            std::bernoulli_distribution pick(std::min(0.5, 3.0 / static_cast<double>(shown.size())));
            for (int i = 0; i < static_cast<int>(shown.size()); ++i)
                if (pick(random))
                    selected.push_back(i);
            const auto target = ReorderTarget(static_cast<int>(shown.size()), selected, static_cast<ReorderCommand>(command(random)));
            if (!target)
                continue;
            for (int i : selected)
                shown[static_cast<std::size_t>(i)].marked = true;
            shown = ApplyReorder(shown, selected, *target);
        }

        std::vector<ListedMod> listed;
        std::vector<std::wstring> expected;
        for (const Shown& row : shown) {
            listed.push_back(ListedMod{row.name, row.marked});
            expected.push_back(row.name);
        }
        EXPECT_TRUE(WriteLoadOrder(Fs(), folder.path(), listed, now).empty());
        ASSERT_EQ(CatalogueNames(folder.path()), expected);

        // Only moved rows, and rows too close to keep a step from their new
        // neighbour above, were written; every companion follows its pak.
        std::map<std::wstring, FileTime> after;
        for (const ModEntry& entry : ReadModCatalogue(Fs(), folder.path()))
            after[entry.fileName] = entry.lastWriteTime;
        const FileTime base = BaseTime(now);
        std::set<std::wstring> written;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const std::wstring& name = shown[i].name;
            if (after[name] == before[name])
                continue;
            written.insert(name);
            if (!shown[i].marked && before[name] > base) {
                ASSERT_GT(i, 0u);
                EXPECT_LT(before[name], after[shown[i - 1].name] + kMinimumStep * shown.size()) << platform::ToUtf8(name);
            }
            FileTime companion = 0;
            if (Fs().ReadLastWriteTime(platform::JoinPath(folder.path(), CompanionName(name)), companion).ok()) {
                EXPECT_EQ(companion, after[name]);
            }
        }

        // Two-second file systems: round every written time down, the order holds.
        for (const std::wstring& name : written)
            ASSERT_TRUE(Fs().WriteLastWriteTime(platform::JoinPath(folder.path(), name),
                                                after[name] - after[name] % kMinimumStep).ok());
        EXPECT_EQ(CatalogueNames(folder.path()), expected);
    }
}

}  // namespace
