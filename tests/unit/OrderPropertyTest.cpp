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
#include "unit/FaultyFileSystem.h"
#include "unit/MemoryFileSystem.h"
#include "unit/TestFiles.h"

using namespace mods;
using namespace testing_files;

namespace {

platform::FileSystem& Fs() { return platform::SystemFileSystem(); }

std::vector<std::wstring> CatalogueNames(platform::FileSystem& fs, const std::wstring& folder)
{
    std::vector<std::wstring> names;
    for (const ModEntry& entry : ReadModCatalogue(fs, folder))
        names.push_back(entry.fileName);
    return names;
}

// Times a real file keeps everywhere, or any time a file time can hold.
FileTime RandomTime(std::mt19937& random, bool fullRange)
{
    if (fullRange) {
        std::uniform_int_distribution<int> extreme(0, 9);
        const int pick = extreme(random);
        if (pick == 0)
            return 0;  // 1601-01-01
        if (pick == 1)
            return kMaxCalendarTime - kTicksPerDay;  // 30828
        return std::uniform_int_distribution<FileTime>(0, kMaxCalendarTime)(random);
    }
    std::uniform_int_distribution<int> year(2010, 2026), day(1, 28);
    return Time(year(random), 1 + day(random) % 12, day(random), day(random) % 24);
}

// A folder of random mods: old and new times, runs of equal times, some
// disabled, some with companions.
void MakeRandomFolder(platform::FileSystem& fs, const std::wstring& folder, int count, std::mt19937& random,
                      bool fullRange)
{
    std::uniform_int_distribution<int> coin(0, 3);
    auto* memory = dynamic_cast<MemoryFileSystem*>(&fs);
    if (memory)
        memory->AddFolder(folder);
    FileTime previous = Time(2015, 1, 1);
    for (int i = 0; i < count; ++i) {
        const FileTime time = coin(random) == 0 ? previous : RandomTime(random, fullRange);
        previous = time;
        const std::wstring name = L"mod" + std::to_wstring(i) + (coin(random) == 0 ? L".G1O" : coin(random) ? L".pak" : L".PAK");
        const std::wstring path = platform::JoinPath(folder, name);
        if (memory) {
            memory->Add(path, time);
            if (coin(random))
                memory->Add(CompanionName(path), Time(2011, 1, 1));
            continue;
        }
        WriteFileWithTime(path, time);
        if (coin(random))
            WriteFileWithTime(CompanionName(path), Time(2011, 1, 1));
    }
}

struct Shown {
    std::wstring name;
    bool marked = false;
};

// What a refill shows, then a few random moves.
std::vector<Shown> RefillAndMove(platform::FileSystem& fs, const std::wstring& folder, std::mt19937& random)
{
    std::vector<Shown> shown;
    for (const ModEntry& entry : ReadModCatalogue(fs, folder))
        shown.push_back(Shown{entry.fileName, false});
    std::uniform_int_distribution<int> moves(0, 4), command(0, 3);
    for (int move = moves(random); move > 0 && !shown.empty(); --move) {
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
    return shown;
}

// Rows whose files vanish after the refill, cannot be opened at all, or
// cannot be re-timed; most of them right above or below a moved row.
std::set<std::wstring> BreakSomeRows(FaultyFileSystem& fs, platform::FileSystem& real, const std::wstring& folder,
                                     const std::vector<Shown>& shown, std::mt19937& random)
{
    std::set<std::wstring> broken;
    std::uniform_int_distribution<int> kind(0, 2);
    std::bernoulli_distribution nearMove(0.3), elsewhere(0.03);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const bool besideMove = (i > 0 && shown[i - 1].marked) || (i + 1 < shown.size() && shown[i + 1].marked);
        if (shown[i].marked || !(besideMove ? nearMove(random) : elsewhere(random)))
            continue;
        const std::wstring path = platform::JoinPath(folder, shown[i].name);
        switch (kind(random)) {
        case 0:
            real.RemoveFile(path);
            real.RemoveFile(CompanionName(path));
            break;
        case 1:
            fs.unreadable.insert(path);
            fs.unwritable.insert(path);
            break;
        default:
            fs.unwritable.insert(path);
            break;
        }
        broken.insert(shown[i].name);
    }
    // A moved row whose time cannot be written.
    for (const Shown& row : shown) {
        if (row.marked && elsewhere(random)) {
            fs.unwritable.insert(platform::JoinPath(folder, row.name));
            broken.insert(row.name);
        }
    }
    return broken;
}

std::vector<std::wstring> Without(const std::vector<std::wstring>& names, const std::set<std::wstring>& left_out)
{
    std::vector<std::wstring> kept;
    for (const std::wstring& name : names)
        if (!left_out.count(name))
            kept.push_back(name);
    return kept;
}

// Whatever the folder and however the user rearranged it, after the smart
// sort the order read back is the order shown: for every row whose file is
// still there and could be re-timed, whatever happened to its neighbours.
void CheckTheOrderShownIsTheOrderWritten(platform::FileSystem& real, int size, bool fullRange, std::mt19937& random)
{
    const FileTime now = Time(2026, 12, 8, 17, 0, 0) + 1234567;
    TempFolder folder;
    MakeRandomFolder(real, folder.path(), size, random, fullRange);
    for (int sort = 0; sort < 3; ++sort) {
        SCOPED_TRACE("sort " + std::to_string(sort));
        const std::vector<Shown> shown = RefillAndMove(real, folder.path(), random);
        std::map<std::wstring, FileTime> before;
        for (const ModEntry& entry : ReadModCatalogue(real, folder.path()))
            before[entry.fileName] = entry.lastWriteTime;

        FaultyFileSystem fs(real);
        // The first sort of each folder runs on sound files, the others with broken rows.
        const std::set<std::wstring> broken =
            sort == 0 ? std::set<std::wstring>{} : BreakSomeRows(fs, real, folder.path(), shown, random);
        std::vector<ListedMod> listed;
        std::vector<std::wstring> expected;
        for (const Shown& row : shown) {
            listed.push_back(ListedMod{row.name, row.marked});
            expected.push_back(row.name);
        }
        const std::vector<FileFailure> failures = WriteLoadOrder(fs, folder.path(), listed, now);
        for (const FileFailure& failure : failures)
            EXPECT_TRUE(broken.count(failure.fileName)) << platform::ToUtf8(failure.fileName);
        ASSERT_EQ(Without(CatalogueNames(real, folder.path()), broken), Without(expected, broken));

        // Only moved rows, and rows too close to keep a step from their new
        // neighbour above, were written; every companion follows its pak.
        std::map<std::wstring, FileTime> after;
        for (const ModEntry& entry : ReadModCatalogue(real, folder.path()))
            after[entry.fileName] = entry.lastWriteTime;
        const FileTime base = BaseTime(now);
        std::set<std::wstring> written;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const std::wstring& name = shown[i].name;
            if (broken.count(name) || after[name] == before[name])
                continue;
            written.insert(name);
            if (broken.empty() && !shown[i].marked && before[name] > base) {
                ASSERT_GT(i, 0u);
                EXPECT_LT(before[name], after[shown[i - 1].name] + kMinimumStep * shown.size()) << platform::ToUtf8(name);
            }
            FileTime companion = 0;
            if (real.ReadLastWriteTime(platform::JoinPath(folder.path(), CompanionName(name)), companion).ok()) {
                EXPECT_EQ(companion, after[name]);
            }
        }

        // Two-second file systems: round every written time down, the order holds.
        for (const std::wstring& name : written)
            ASSERT_TRUE(real.WriteLastWriteTime(platform::JoinPath(folder.path(), name),
                                                after[name] - after[name] % kMinimumStep).ok());
        ASSERT_EQ(Without(CatalogueNames(real, folder.path()), broken), Without(expected, broken));

        // A time set by hand before the next sort.
        const std::vector<std::wstring> names = CatalogueNames(real, folder.path());
        if (!names.empty()) {
            const std::wstring& name = names[std::uniform_int_distribution<std::size_t>(0, names.size() - 1)(random)];
            std::vector<FileFailure> handSet;
            SetModFileTime(real, folder.path(), name, RandomTime(random, fullRange), handSet);
            EXPECT_TRUE(handSet.empty());
        }
    }
}

TEST(OrderProperty, TheOrderShownIsTheOrderWritten)
{
    std::mt19937 random(8122026);
    const int sizes[] = {2, 3, 7, 40, 250, 120, 15, 2, 300, 60};
    for (int round = 0; round < static_cast<int>(std::size(sizes)); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        CheckTheOrderShownIsTheOrderWritten(Fs(), sizes[round], false, random);
    }
}

TEST(OrderProperty, TheOrderHoldsForEveryTimeAFileCanHave)
{
    // From 1601 to 30828: no real file system keeps them all, so the files live in memory.
    std::mt19937 random(9122026);
    const int sizes[] = {2, 5, 30, 200, 80, 3, 400};
    for (int round = 0; round < static_cast<int>(std::size(sizes)); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        MemoryFileSystem memory;
        CheckTheOrderShownIsTheOrderWritten(memory, sizes[round], true, random);
    }
}

}  // namespace
