#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "mods/BlockRuns.h"

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace mods {
namespace {

std::vector<std::uint32_t> Items(std::span<const std::uint32_t> run) { return {run.begin(), run.end()}; }

std::vector<std::uint32_t> Counting(std::uint32_t from, std::size_t count)
{
    std::vector<std::uint32_t> items;
    for (std::size_t i = 0; i < count; ++i)
        items.push_back(from + static_cast<std::uint32_t>(i));
    return items;
}

// Runs of every size, one far larger than a block and several crossing a
// block's end, a dropped one and a shortened one: each reads back whole,
// also from a copy of the store.
TEST(BlockRuns, EachRunReadsBackWholeWhereverItsBlockEnded)
{
    const std::size_t sizes[] = {0, 1, 3000, 16'000, 700'000, 5, 600'000, 200'000, 1};
    BlockRuns<std::uint32_t> store;
    std::vector<BlockRuns<std::uint32_t>::Run> runs;
    std::vector<std::vector<std::uint32_t>> expected;
    std::uint32_t next = 0;
    for (const std::size_t size : sizes) {
        for (std::uint32_t i = 0; i < 1000; ++i)
            store.Push(0xDEAD0000 + i);
        store.Drop();
        for (const std::uint32_t item : Counting(next, size + 7))
            store.Push(item);
        store.Shorten(size);
        runs.push_back(store.Close());
        expected.push_back(Counting(next, size));
        next += static_cast<std::uint32_t>(size + 7);
    }
    const BlockRuns<std::uint32_t> copy = store;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        EXPECT_EQ(Items(store[runs[r]]), expected[r]) << "run " << r;
        EXPECT_EQ(Items(copy[runs[r]]), expected[r]) << "run " << r << " of the copy";
    }
    EXPECT_EQ(store.Live(), 3000u + 16'000 + 700'000 + 5 + 600'000 + 200'000 + 2);
}

#ifndef _WIN32
// How many of the pages wholly within [from, to) are in memory.
std::size_t ResidentPages(const void* from, const void* to)
{
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(from) + page - 1) & ~(page - 1);
    const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(to) & ~(page - 1);
    std::vector<unsigned char> resident((end - start) / page);
    if (mincore(reinterpret_cast<void*>(start), end - start, resident.data()) != 0)
        return static_cast<std::size_t>(-1);
    std::size_t count = 0;
    for (const unsigned char flags : resident)
        count += flags & 1;
    return count;
}
#endif

// The room a dropped run filled is given back by Trim; the store keeps its
// runs and takes new ones there as before.
TEST(BlockRuns, TrimGivesBackTheRoomLeftAndKeepsEveryRun)
{
    BlockRuns<std::uint32_t> store;
    std::vector<BlockRuns<std::uint32_t>::Run> runs;
    for (std::uint32_t r = 0; r < 600; ++r) {
        for (const std::uint32_t item : Counting(r * 1000, 1000))
            store.Push(item);
        runs.push_back(store.Close());
    }
    for (const std::uint32_t item : Counting(0xD0000000, 100'000))
        store.Push(item);
    const std::uint32_t* dropped = store.Open().data();
    store.Drop();
    store.Trim();
#ifndef _WIN32
    EXPECT_EQ(ResidentPages(dropped, dropped + 100'000), 0u);
#else
    (void)dropped;
#endif
    for (const std::uint32_t item : Counting(700'000, 100'000))
        store.Push(item);
    runs.push_back(store.Close());
    for (std::uint32_t r = 0; r < 600; ++r)
        ASSERT_EQ(Items(store[runs[r]]), Counting(r * 1000, 1000)) << "run " << r;
    EXPECT_EQ(Items(store[runs.back()]), Counting(700'000, 100'000));
}

}  // namespace
}  // namespace mods
